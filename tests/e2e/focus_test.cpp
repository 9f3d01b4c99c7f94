// Keyboard focus: Tab and Shift+Tab follow the tab indices through the
// segment pictures, the segment selectors and the task text, skipping labels
// and the hidden road-picture boxes. Where the focus is shows from outside:
// Down moves the selection only in a focused selector.
#include "fixture.h"
#include "layout.h"

namespace e2e {
namespace {

class FocusTest : public WindowTest { };

TEST_F(FocusTest, StartsOnTheFirstSegmentPictureWhichIgnoresKeys)
{
    // Arrow keys neither change a selection nor carry the focus away.
    for (char const* name : { "Down", "Down", "Right", "Right", "Right", "Right", "Left", "Up", "End", "Home" })
        key(name);
    EXPECT_EQ(route_count(), "1*1*1 = 1");
    // Still on segment picture A-B: three Tabs reach selector A-B.
    for (int tab = 0; tab < 3; ++tab)
        key("Tab");
    key("Down");
    EXPECT_EQ(route_count(), "2*1*1 = 2");
}

TEST_F(FocusTest, TabVisitsPicturesThenSelectorsThenTheTextAndWrapsAround)
{
    // Segment pictures A-B, B-C, C-D hold the first three stops.
    for (int tab = 0; tab < 3; ++tab)
        key("Tab");
    key("Down");
    EXPECT_EQ(route_count(), "2*1*1 = 2");
    key("Tab");
    key("Down");
    EXPECT_EQ(route_count(), "2*2*1 = 4");
    key("Tab");
    key("Down");
    EXPECT_EQ(route_count(), "2*2*2 = 8");
    // The task text, then round to segment picture A-B: four stops to selector A-B.
    key("Tab");
    key("Down");
    EXPECT_EQ(route_count(), "2*2*2 = 8");
    for (int tab = 0; tab < 4; ++tab)
        key("Tab");
    key("Down");
    EXPECT_EQ(route_count(), "3*2*2 = 12");
}

TEST_F(FocusTest, ShiftTabGoesBackwardsFromTheFirstStopToTheLast)
{
    key("shift+Tab"); // the task text
    key("shift+Tab"); // selector C-D
    key("Down");
    EXPECT_EQ(route_count(), "1*1*2 = 2");
    key("shift+Tab"); // selector B-C
    key("Down");
    EXPECT_EQ(route_count(), "1*2*2 = 4");
}

TEST_F(FocusTest, AFocusedSegmentPictureShowsNoMark)
{
    Rect const first = segment_picture(0);
    Image const focused = screen().crop(first);
    key("Tab"); // on to segment picture B-C
    EXPECT_EQ(screen().crop(first), focused);
}

TEST_F(FocusTest, ClickingASelectorFocusesIt)
{
    auto const [x, y] = row_point(2, 0);
    click(x, y);
    EXPECT_EQ(route_count(), "1*1*0 = 0");
    key("Down");
    key("Down");
    EXPECT_EQ(route_count(), "1*1*2 = 2");
}

} // namespace
} // namespace e2e
