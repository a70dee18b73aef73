// The undo and redo history (see undo_history.h).
#include "ui/undo_history.h"

namespace orlo {

namespace {

// What a line holds; its label is only what the list last drew.
bool sameLine(const ProgramLine& a, const ProgramLine& b)
{
    return a.isResult == b.isResult && a.orElse == b.orElse && a.reserved == b.reserved &&
           a.instruction == b.instruction && a.remark == b.remark;
}

// The block id is left out: building an image writes it into each section.
bool sameHeader(const ProgramSection& a, const ProgramSection& b)
{
    return a.fileExtension == b.fileExtension && a.count() == b.count();
}

// How many lines of two sections of equal length differ, up to 2, and the
// row of the first that does.
int differingLines(const ProgramSection& a, const ProgramSection& b, int& row)
{
    int differing = 0;
    for (std::size_t i = 0; i < a.lines.size() && differing < 2; ++i) {
        if (!sameLine(a.lines[i], b.lines[i])) {
            if (differing++ == 0)
                row = static_cast<int>(i);
        }
    }
    return differing;
}

bool sameNames(const NameTable& a, const NameTable& b)
{
    if (a.usedCount() != b.usedCount() || a.reservedWords() != b.reservedWords())
        return false;
    for (int i = 0; i < a.usedCount(); ++i) {
        if (a.slot(i).systemName != b.slot(i).systemName || a.slot(i).alias != b.slot(i).alias)
            return false;
    }
    return true;
}

std::size_t sectionBytes(const ProgramSection& s)
{
    std::size_t bytes = sizeof(ProgramSection) + s.lines.size() * sizeof(ProgramLine);
    for (const ProgramLine& l : s.lines)
        bytes += l.remark.size() + l.label.size();
    return bytes;
}

std::size_t nameBytes(const NameTable& t)
{
    std::size_t bytes = sizeof(NameTable);
    for (int i = 0; i < t.usedCount(); ++i)
        bytes += t.slot(i).systemName.size() + t.slot(i).alias.size();
    return bytes;
}

}  // namespace

UndoHistory::UndoHistory(UndoLimits limits) : limits_(limits)
{
    // A state to stand on before the first reset: an empty program.
    for (SectionRef& s : current_.sections)
        s = std::make_shared<const ProgramSection>();
    current_.names = std::make_shared<const NameTable>();
    current_.id = nextId_++;
    savedId_ = current_.id;
}

ProgramSection& UndoHistory::slotOf(Program& program, std::size_t slot)
{
    if (slot == 0)
        return program.main;
    if (slot <= kFunctionCount)
        return program.functions[slot - 1];
    return program.threads[slot - 1 - kFunctionCount];
}

const ProgramSection& UndoHistory::slotOf(const Program& program, std::size_t slot)
{
    return slotOf(const_cast<Program&>(program), slot);
}

int UndoHistory::sectionIdOf(std::size_t slot)
{
    const int n = static_cast<int>(slot);
    return n <= kFunctionCount ? n : kThreadIdBase + n - kFunctionCount;
}

void UndoHistory::reset(const Program& program, const NameTable& names,
                        const ListPosition& position)
{
    undo_.clear();
    redo_.clear();
    State state;
    for (std::size_t s = 0; s < kSlots; ++s)
        state.sections[s] = std::make_shared<const ProgramSection>(slotOf(program, s));
    state.names = std::make_shared<const NameTable>(names);
    state.position = position;
    state.id = nextId_++;
    current_ = std::move(state);
    savedId_ = current_.id;
    lastKey_ = LineKey();
    sealed_ = true;
}

UndoHistory::State UndoHistory::capture(const Program& program, const NameTable& names,
                                        const State& from, LineKey& key, bool& changed)
{
    State state;
    int changedSlots = 0;
    key = LineKey();
    for (std::size_t s = 0; s < kSlots; ++s) {
        const ProgramSection& now = slotOf(program, s);
        const ProgramSection& was = *from.sections[s];
        int row = -1;
        const bool sameSize = sameHeader(now, was);
        const int differing = sameSize ? differingLines(now, was, row) : 2;
        if (differing == 0) {
            state.sections[s] = from.sections[s];
            continue;
        }
        state.sections[s] = std::make_shared<const ProgramSection>(now);
        if (++changedSlots == 1 && differing == 1)
            key = LineKey{static_cast<int>(s), row};
    }
    const bool namesChanged = !sameNames(names, *from.names);
    state.names = namesChanged ? std::make_shared<const NameTable>(names) : from.names;
    if (changedSlots != 1 || namesChanged)
        key = LineKey();
    changed = changedSlots > 0 || namesChanged;
    return state;
}

std::size_t UndoHistory::ownBytes(const State& state, const State& neighbour)
{
    std::size_t bytes = 0;
    for (std::size_t s = 0; s < kSlots; ++s) {
        if (state.sections[s] != neighbour.sections[s])
            bytes += sectionBytes(*state.sections[s]);
    }
    if (state.names != neighbour.names)
        bytes += nameBytes(*state.names);
    return bytes;
}

std::size_t UndoHistory::heldBytes() const
{
    std::size_t bytes = 0;
    for (const State& s : undo_)
        bytes += s.ownBytes;
    for (const State& s : redo_)
        bytes += s.ownBytes;
    return bytes;
}

bool UndoHistory::record(const Program& program, const NameTable& names, const ListPosition& after)
{
    LineKey key;
    bool changed = false;
    State next = capture(program, names, current_, key, changed);
    if (!changed) {
        current_.position = after;
        return false;
    }
    next.position = after;
    redo_.clear();

    // The same line written again: the step before covers it, unless that
    // step ended in the saved state, which must stay reachable.
    const bool join = !sealed_ && key.slot >= 0 && key == lastKey_ && !undo_.empty() &&
                      savedId_ != current_.id;
    if (join) {
        const State& before = undo_.back();
        const std::size_t slot = static_cast<std::size_t>(key.slot);
        const ProgramLine& was = before.sections[slot]->lines[static_cast<std::size_t>(key.row)];
        if (sameLine(was, slotOf(program, slot).lines[static_cast<std::size_t>(key.row)])) {
            // Back to what it was before the step: the step goes.
            current_ = std::move(undo_.back());
            undo_.pop_back();
            current_.position = after;
            current_.ownBytes = 0;
            lastKey_ = LineKey();
            return true;
        }
        next.id = nextId_++;
        current_ = std::move(next);
        undo_.back().ownBytes = ownBytes(undo_.back(), current_);
        return true;
    }

    next.id = nextId_++;
    current_.ownBytes = ownBytes(current_, next);
    undo_.push_back(std::move(current_));
    current_ = std::move(next);
    lastKey_ = key;
    sealed_ = false;
    trim();
    return true;
}

bool UndoHistory::step(State target, Program& program, NameTable& names, Restored& restored,
                       std::deque<State>& pushTo)
{
    restored = Restored();
    for (std::size_t s = 0; s < kSlots; ++s) {
        if (target.sections[s] != current_.sections[s]) {
            slotOf(program, s) = *target.sections[s];
            restored.sectionIds.push_back(sectionIdOf(s));
        }
    }
    if (target.names != current_.names) {
        names = *target.names;
        restored.names = true;
    }
    restored.position = target.position;
    current_.ownBytes = ownBytes(current_, target);
    pushTo.push_back(std::move(current_));
    current_ = std::move(target);
    current_.ownBytes = 0;
    lastKey_ = LineKey();
    sealed_ = true;
    return true;
}

bool UndoHistory::undo(Program& program, NameTable& names, Restored& restored)
{
    sealed_ = true;
    record(program, names, current_.position);
    if (undo_.empty())
        return false;
    State target = std::move(undo_.back());
    undo_.pop_back();
    return step(std::move(target), program, names, restored, redo_);
}

bool UndoHistory::redo(Program& program, NameTable& names, Restored& restored)
{
    sealed_ = true;
    record(program, names, current_.position);
    if (redo_.empty())
        return false;
    State target = std::move(redo_.back());
    redo_.pop_back();
    step(std::move(target), program, names, restored, undo_);
    trim();
    return true;
}

void UndoHistory::trim()
{
    while (!undo_.empty() && (undo_.size() > limits_.steps ||
                              (undo_.size() > 1 && heldBytes() > limits_.bytes)))
        undo_.pop_front();
}

}  // namespace orlo
