// The route count follows the segment selectors, read back from the screen
// after real pointer clicks, keys and wheel turns.
#include "fixture.h"
#include "layout.h"

namespace e2e {
namespace {

class SelectionTest : public WindowTest { };

TEST_F(SelectionTest, AfterStartTheRouteCountReadsOneRoute)
{
    Reading const reading = read_route_count();
    EXPECT_EQ(reading.text, "1*1*1 = 1") << "mismatch " << reading.mismatch;
}

struct Picks {
    int a, b, c;
    char const* expected;
};

class PointerPicks : public SelectionTest, public ::testing::WithParamInterface<Picks> { };

TEST_P(PointerPicks, ClickingEntriesRebuildsTheRouteCount)
{
    Picks const p = GetParam();
    pick_with_pointer(0, p.a);
    pick_with_pointer(1, p.b);
    pick_with_pointer(2, p.c);
    EXPECT_EQ(route_count(), p.expected);
}

INSTANTIATE_TEST_SUITE_P(Counts, PointerPicks,
    ::testing::Values(Picks { 2, 3, 4, "2*3*4 = 24" }, Picks { 7, 7, 7, "7*7*7 = 343" }, Picks { 0, 5, 6, "0*5*6 = 0" },
        Picks { 3, 2, 5, "3*2*5 = 30" }),
    [](auto const& info) {
        return std::to_string(info.param.a) + "_" + std::to_string(info.param.b) + "_" + std::to_string(info.param.c);
    });

TEST_F(SelectionTest, ClicksInAnyOrderLeaveTheSameCount)
{
    pick_with_pointer(2, 5);
    EXPECT_EQ(route_count(), "1*1*5 = 5");
    pick_with_pointer(0, 3);
    EXPECT_EQ(route_count(), "3*1*5 = 15");
    pick_with_pointer(1, 2);
    EXPECT_EQ(route_count(), "3*2*5 = 30");
    // The entry already selected, clicked again, changes nothing.
    auto const [x, y] = row_point(1, 1);
    click(x, y);
    EXPECT_EQ(route_count(), "3*2*5 = 30");
}

TEST_F(SelectionTest, ArrowKeysStepThroughTheEntries)
{
    for (int i = 0; i < 3; ++i) {
        auto const [x, y] = row_point(i, 1); // entry 1, already selected
        click(x, y);
        for (int step = 0; step < 6; ++step)
            key("Down");
    }
    EXPECT_EQ(route_count(), "7*7*7 = 343");
    key("Down"); // already at the last entry
    EXPECT_EQ(route_count(), "7*7*7 = 343");
    key("Up");
    key("Up");
    EXPECT_EQ(route_count(), "7*7*5 = 245");
}

TEST_F(SelectionTest, HomeEndAndPageKeysMoveTheSelection)
{
    auto const [x, y] = row_point(1, 1);
    click(x, y);
    key("End");
    EXPECT_EQ(route_count(), "1*7*1 = 7");
    key("Home");
    EXPECT_EQ(route_count(), "1*0*1 = 0");
    // A page is one row less than the two rows shown.
    key("Next"); // Page Down
    EXPECT_EQ(route_count(), "1*1*1 = 1");
    key("Next");
    EXPECT_EQ(route_count(), "1*2*1 = 2");
    key("End");
    key("Prior"); // Page Up
    EXPECT_EQ(route_count(), "1*6*1 = 6");
}

TEST_F(SelectionTest, TheWheelScrollsWithoutSelecting)
{
    Rect const list = selector(0);
    Image const before = screen().crop(list);
    wheel(list.x + 10, list.y + 10, 1);
    EXPECT_NE(screen().crop(list), before) << "the list did not scroll";
    EXPECT_EQ(route_count(), "1*1*1 = 1");
    // One notch scrolls a page of two rows, so entry 2 is now on top.
    auto const [x, y] = row_point(0, 0);
    click(x, y);
    EXPECT_EQ(route_count(), "2*1*1 = 2");
}

TEST_F(SelectionTest, TheLongestFormulaFitsOnOneLine)
{
    pick_with_pointer(0, 7);
    pick_with_pointer(1, 7);
    pick_with_pointer(2, 7);
    Reading const reading = read_route_count();
    EXPECT_EQ(reading.text, "7*7*7 = 343");
    Rect const label = element("Label1(1)").place;
    Image const shot = screen();
    // Nothing is clipped at the sides, and no second line begins below.
    for (int y = label.y; y < label.y + label.h; ++y) {
        EXPECT_EQ(shot.at(label.x + 1, y), route_count_colour) << "y " << y;
        EXPECT_EQ(shot.at(label.x + label.w - 1, y), route_count_colour) << "y " << y;
    }
    for (int x = label.x + 1; x < label.x + label.w; ++x)
        EXPECT_EQ(shot.at(x, label.y + label.h - 1), route_count_colour) << "x " << x;
}

} // namespace
} // namespace e2e
