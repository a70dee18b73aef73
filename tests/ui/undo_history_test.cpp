// The undo history on its own: its bounds in steps and in bytes, the line
// editor's run of changes to one line as one step, a change nobody reported,
// and steps that cost what they changed rather than the whole program.
#include <gtest/gtest.h>

#include <memory>

#include "model/image.h"
#include "tests/ui/editing_fixture.h"
#include "ui/undo_history.h"

namespace orlo {
namespace {

using test::simpleLine;

class UndoHistoryTest : public ::testing::Test {
protected:
    std::unique_ptr<Program> program = std::make_unique<Program>();
    NameTable names;
    UndoHistory::Restored restored;

    void addLine(UndoHistory& h, int p1)
    {
        program->main.lines.push_back(simpleLine(false, p1));
        h.record(*program, names, ListPosition());
    }
    std::string image() { return buildImage(*program, names); }
};

TEST_F(UndoHistoryTest, KeepsAtMostItsStepsAndItsBytesButAlwaysTheLastStep)
{
    struct Case {
        const char* name;
        UndoLimits limits;
        int changes;
        std::size_t kept;
    };
    const Case cases[] = {
        {"within both bounds", {100, std::size_t{1} << 20}, 5, 5},
        {"steps bound", {3, std::size_t{1} << 20}, 5, 3},
        {"bytes bound below one step", {100, 1}, 5, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        program = std::make_unique<Program>();
        UndoHistory h(c.limits);
        h.reset(*program, names, ListPosition());
        std::vector<std::string> images{image()};
        for (int i = 1; i <= c.changes; ++i) {
            addLine(h, i);
            images.push_back(image());
        }
        EXPECT_EQ(h.undoSteps(), c.kept);
        for (std::size_t i = 1; i <= c.kept; ++i) {
            ASSERT_TRUE(h.undo(*program, names, restored));
            EXPECT_EQ(image(), images[images.size() - 1 - i]);
        }
        EXPECT_FALSE(h.undo(*program, names, restored));
        EXPECT_EQ(image(), images[images.size() - 1 - c.kept]);
    }
}

TEST_F(UndoHistoryTest, ChangesToOneLineMakeOneStepUntilSealed)
{
    program->main.lines = {simpleLine(false, 1), simpleLine(true, 2)};
    UndoHistory h;
    h.reset(*program, names, ListPosition());
    const std::string start = image();
    // Three writes of line 1, as the editor makes them.
    for (int p1 : {5, 6, 7}) {
        program->main.lines[1].instruction[1] = static_cast<std::uint8_t>(p1);
        EXPECT_TRUE(h.record(*program, names, ListPosition()));
    }
    EXPECT_EQ(h.undoSteps(), 1u);
    // Written back as it was: no step is left.
    program->main.lines[1].instruction[1] = 2;
    h.record(*program, names, ListPosition());
    EXPECT_EQ(h.undoSteps(), 0u);
    EXPECT_TRUE(h.atSaved());

    // After a seal the same line starts a new step.
    program->main.lines[1].instruction[1] = 8;
    h.record(*program, names, ListPosition());
    h.seal();
    program->main.lines[1].instruction[1] = 9;
    h.record(*program, names, ListPosition());
    EXPECT_EQ(h.undoSteps(), 2u);
    // Writing nothing new is no step.
    EXPECT_FALSE(h.record(*program, names, ListPosition()));
    h.undo(*program, names, restored);
    h.undo(*program, names, restored);
    EXPECT_EQ(image(), start);
}

TEST_F(UndoHistoryTest, AnUnreportedChangeIsUndoneFirstAndDropsTheRedoSteps)
{
    UndoHistory h;
    h.reset(*program, names, ListPosition());
    addLine(h, 1);
    const std::string one = image();
    ASSERT_TRUE(h.undo(*program, names, restored));
    ASSERT_TRUE(h.canRedo());
    // A change that was never recorded: the next undo takes it back first,
    // and the redo step it replaced is gone.
    ASSERT_EQ(names.rename("输出1", "灯"), "");
    const std::string before = image();
    ASSERT_TRUE(h.undo(*program, names, restored)) << "the rename";
    EXPECT_TRUE(restored.names);
    EXPECT_NE(image(), before);
    EXPECT_TRUE(h.redo(*program, names, restored));
    EXPECT_EQ(image(), before);
    EXPECT_FALSE(h.redo(*program, names, restored));
    EXPECT_NE(image(), one);
}

TEST_F(UndoHistoryTest, AStepHoldsOnlyTheSectionsItChanged)
{
    for (int i = 0; i < 10000; ++i)
        program->main.lines.push_back(simpleLine(i % 2 == 1, 1 + i % 200));
    UndoHistory h;
    h.reset(*program, names, ListPosition());
    for (int n = 0; n < 50; ++n) {
        program->functions[static_cast<std::size_t>(n)].lines.push_back(simpleLine(false, n));
        h.record(*program, names, ListPosition());
    }
    // Fifty steps of one small function each, beside 10,000 main lines.
    EXPECT_EQ(h.undoSteps(), 50u);
    EXPECT_LT(h.heldBytes(), 50u * 8 * sizeof(ProgramLine));
    ASSERT_TRUE(h.undo(*program, names, restored));
    EXPECT_EQ(restored.sectionIds, std::vector<int>{50});
    EXPECT_FALSE(restored.names);
}

}  // namespace
}  // namespace orlo
