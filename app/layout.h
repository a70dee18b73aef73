// Control layout as data: a window's table of placements, each a control's
// rectangle for a given client size. A placement is fixed, or follows the
// client area in width, height or distance from the bottom edge.
#pragma once

#include "platform/view.h"

namespace orlo {

struct Placement {
    int id;
    int x, y, width, height;
    bool widthFollowsClient = false;   // width  = client width  + width
    bool yFromBottom = false;          // y      = client height + y
    bool heightFollowsClient = false;  // height = client height + height
};

inline Rect placementRect(const Placement& p, Size client)
{
    return Rect{p.x, p.yFromBottom ? client.height + p.y : p.y,
                p.widthFollowsClient ? client.width + p.width : p.width,
                p.heightFollowsClient ? client.height + p.height : p.height};
}

}  // namespace orlo
