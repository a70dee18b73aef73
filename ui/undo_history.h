// The undo and redo history of the program and the name table ("撤销" and
// "重做"). It keeps whole states: every section of the program (main,
// functions, threads; never the clipboard) and the name table, each held
// through a shared pointer, so a state shares with its neighbours every
// section a change left alone and a step costs what it changed.
//
// Design. The history always holds the current state, the program as it was
// after the last change it heard of. A change is reported after it happened
// (record): whatever now differs from the current state becomes one step.
// The alternative, a snapshot before each change, needs a hook in front of
// every way a change can start; some of them cannot offer one (a program
// read from the controller replaces the program inside the device session,
// the line editor writes a line at every keystroke). Reporting afterwards
// needs only the one place where every change already ends, and a change
// nobody reported is still found before the next undo and made a step of its
// own rather than lost.
//
// The line editor writes its line at every change of a control; changes that
// all replace the same one line, with nothing else between them (seal), make
// one step.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <memory>
#include <vector>

#include "expr/names.h"
#include "model/program.h"

namespace orlo {

// Where a line list stands: its selected rows (ascending) and its first
// visible row.
struct ListPosition {
    std::vector<int> selected;
    int top = 0;

    bool operator==(const ListPosition& o) const { return selected == o.selected && top == o.top; }
};

// Steps kept back (the oldest go first), and the bytes of line and name
// copies all steps may hold together. The latest step stays whatever it
// costs, so even a Delete-all of a very large program can be undone.
struct UndoLimits {
    std::size_t steps = 100;
    std::size_t bytes = std::size_t{64} << 20;
};

class UndoHistory {
public:
    explicit UndoHistory(UndoLimits limits = UndoLimits());

    // A fresh history: program and names as they are, the state a file holds
    // (New, Open, start-up).
    void reset(const Program& program, const NameTable& names, const ListPosition& position);

    // After a change: when program or names differ from the current state,
    // the current state becomes an undo step, the redo steps go and the
    // state now becomes current with the list at `after`. A change that
    // replaces only the same one line as the step before it, with no seal
    // between, joins that step (and a line changed back to what it was
    // before that step leaves no step at all). False when nothing differs.
    bool record(const Program& program, const NameTable& names, const ListPosition& after);
    // The next change starts a step of its own.
    void seal() { sealed_ = true; }
    // Where the main list stands now, kept with the current state: an undo
    // or redo back to this state shows the list so.
    void setPosition(const ListPosition& position) { current_.position = position; }

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }

    // What an undo or redo changed: the section ids (0 main, 1..100
    // functions, 501..600 threads) whose lines it put back, whether it put
    // the name table back, and where the main list stood in that state.
    struct Restored {
        std::vector<int> sectionIds;
        bool names = false;
        ListPosition position;
    };
    // Records a change not yet reported (as its own step), then puts the
    // state before the last step into program and names. False, and nothing
    // changed, when there is no step to undo.
    bool undo(Program& program, NameTable& names, Restored& restored);
    // Puts back the state the last undo left. A change recorded since has
    // dropped the redo steps: false then, and nothing changes.
    bool redo(Program& program, NameTable& names, Restored& restored);

    // The current state is the one the file holds (after a save).
    void markSaved() { savedId_ = current_.id; }
    // True when the current state is the one last saved, opened or newly made.
    bool atSaved() const { return savedId_ == current_.id; }

    std::size_t undoSteps() const { return undo_.size(); }
    std::size_t redoSteps() const { return redo_.size(); }
    // The bytes the kept steps hold beyond the current state.
    std::size_t heldBytes() const;

private:
    static constexpr std::size_t kSlots = 1 + kFunctionCount + kThreadCount;
    using SectionRef = std::shared_ptr<const ProgramSection>;

    struct State {
        std::array<SectionRef, kSlots> sections;
        std::shared_ptr<const NameTable> names;
        ListPosition position;
        unsigned long id = 0;
        // Held by this state alone, next to its neighbour on the way to the
        // current state (kept steps only).
        std::size_t ownBytes = 0;
    };
    // The one line a change replaced: slot and row; slot -1 for any other change.
    struct LineKey {
        int slot = -1;
        int row = -1;
        bool operator==(const LineKey& o) const { return slot == o.slot && row == o.row; }
    };

    static ProgramSection& slotOf(Program& program, std::size_t slot);
    static const ProgramSection& slotOf(const Program& program, std::size_t slot);
    static int sectionIdOf(std::size_t slot);
    // The state of program and names, sharing with `from` what is unchanged.
    State capture(const Program& program, const NameTable& names, const State& from,
                  LineKey& key, bool& changed);
    static std::size_t ownBytes(const State& state, const State& neighbour);
    bool step(State target, Program& program, NameTable& names, Restored& restored,
              std::deque<State>& pushTo);
    void trim();

    UndoLimits limits_;
    State current_;
    std::deque<State> undo_;   // the oldest first
    std::deque<State> redo_;   // the next to redo last
    unsigned long nextId_ = 1;
    unsigned long savedId_ = 0;
    LineKey lastKey_;
    bool sealed_ = true;
};

}  // namespace orlo
