// The table of the two editions.
#include "app/edition.h"

#include "res/resource.h"

namespace orlo {

const Edition& tarnEdition()
{
    static const Edition edition{"Tarn", "", IDR_MAIN_MENU, IDR_CONTEXT_MENU, true, false, false};
    return edition;
}

const Edition& orloEdition()
{
    static const Edition edition{"Orlo", " 32位版", IDR_ORLO_MENU, IDR_ORLO_CONTEXT_MENU, false, true,
                                 true};
    return edition;
}

}  // namespace orlo
