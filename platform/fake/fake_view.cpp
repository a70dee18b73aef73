// In-memory controls for window logic tests (see fake_view.h).
#include "platform/fake/fake_view.h"

namespace orlo {

const FakeControl* FakeView::find(int id) const
{
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : &it->second;
}

void FakeView::setText(int id, const std::string& text)
{
    control(id).text = text;
}

std::string FakeView::text(int id) const
{
    const FakeControl* c = find(id);
    return c ? c->text : std::string();
}

void FakeView::clearItems(int id)
{
    FakeControl& c = control(id);
    c.items.clear();
    c.selected.clear();
    c.current = -1;
    c.top = 0;
}

int FakeView::addItem(int id, const std::string& text)
{
    FakeControl& c = control(id);
    c.items.push_back(text);
    c.selected.push_back(false);
    return static_cast<int>(c.items.size()) - 1;
}

void FakeView::insertItem(int id, int index, const std::string& text)
{
    FakeControl& c = control(id);
    if (index < 0 || index > static_cast<int>(c.items.size())) {
        addItem(id, text);
        return;
    }
    c.items.insert(c.items.begin() + index, text);
    c.selected.insert(c.selected.begin() + index, false);
    if (c.current >= index)
        ++c.current;
}

void FakeView::deleteItem(int id, int index)
{
    FakeControl& c = control(id);
    if (index < 0 || index >= static_cast<int>(c.items.size()))
        return;
    c.items.erase(c.items.begin() + index);
    c.selected.erase(c.selected.begin() + index);
    if (c.current == index)
        c.current = -1;
    else if (c.current > index)
        --c.current;
}

int FakeView::itemCount(int id) const
{
    const FakeControl* c = find(id);
    return c ? static_cast<int>(c->items.size()) : 0;
}

std::string FakeView::itemText(int id, int index) const
{
    const FakeControl* c = find(id);
    if (!c || index < 0 || index >= static_cast<int>(c->items.size()))
        return {};
    return c->items[static_cast<std::size_t>(index)];
}

int FakeView::currentIndex(int id) const
{
    const FakeControl* c = find(id);
    return c ? c->current : -1;
}

void FakeView::setCurrentIndex(int id, int index)
{
    FakeControl& c = control(id);
    c.current = index >= 0 && index < static_cast<int>(c.items.size()) ? index : -1;
}

void FakeView::setSelected(int id, int index, bool selected)
{
    FakeControl& c = control(id);
    if (index == -1) {
        for (std::size_t i = 0; i < c.selected.size(); ++i)
            c.selected[i] = selected;
        return;
    }
    if (index >= 0 && index < static_cast<int>(c.selected.size()))
        c.selected[static_cast<std::size_t>(index)] = selected;
}

bool FakeView::isSelected(int id, int index) const
{
    const FakeControl* c = find(id);
    return c && index >= 0 && index < static_cast<int>(c->selected.size()) &&
           c->selected[static_cast<std::size_t>(index)];
}

std::vector<int> FakeView::selectedIndexes(int id) const
{
    std::vector<int> out;
    const FakeControl* c = find(id);
    if (!c)
        return out;
    for (std::size_t i = 0; i < c->selected.size(); ++i)
        if (c->selected[i])
            out.push_back(static_cast<int>(i));
    return out;
}

int FakeView::topIndex(int id) const
{
    const FakeControl* c = find(id);
    return c ? c->top : 0;
}

void FakeView::setTopIndex(int id, int index)
{
    control(id).top = index;
}

void FakeView::setRedraw(int id, bool on)
{
    FakeControl& c = control(id);
    if (!on)
        ++c.redrawOffCount;
    c.redraw = on;
}

int FakeView::checkState(int id) const
{
    const FakeControl* c = find(id);
    return c ? c->check : 0;
}

void FakeView::setCheckState(int id, int state)
{
    control(id).check = state;
}

void FakeView::showControl(int id, bool shown)
{
    control(id).shown = shown;
}

bool FakeView::isControlShown(int id) const
{
    const FakeControl* c = find(id);
    return c && c->shown;
}

void FakeView::enableControl(int id, bool enabled)
{
    control(id).enabled = enabled;
}

bool FakeView::isControlEnabled(int id) const
{
    const FakeControl* c = find(id);
    return c && c->enabled;
}

void FakeView::moveControl(int id, const Rect& r)
{
    control(id).rect = r;
}

Rect FakeView::controlRect(int id) const
{
    const FakeControl* c = find(id);
    return c ? c->rect : Rect{};
}

void FakeView::setFocus(int id)
{
    control(id);
    focus_ = id;
}

void FakeView::setProgressRange(int id, int low, int high)
{
    FakeControl& c = control(id);
    c.progressLow = low;
    c.progressHigh = high;
}

void FakeView::setProgressPos(int id, int pos)
{
    control(id).progressPos = pos;
}

int FakeView::progressPos(int id) const
{
    const FakeControl* c = find(id);
    return c ? c->progressPos : 0;
}

void FakeView::setFaceColour(int id, Colour colour)
{
    FakeControl& c = control(id);
    c.face = colour;
    c.hasFace = true;
}

void FakeView::setFont(int id, const FontRequest& font)
{
    FakeControl& c = control(id);
    c.font = font;
    c.hasFont = true;
}

int FakeView::textWidth(int, const std::string& text) const
{
    return static_cast<int>(text.size()) * pixelsPerByte;
}

}  // namespace orlo
