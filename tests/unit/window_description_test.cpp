// The window description's layout rules, checked on the data itself: whole
// pixels, one tab stop per element, the overlaps the layout relies on, and the
// focus order through the visible boxes.
#include "window/description.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <variant>

namespace {

using window::Element;

Element const& element(std::string_view array, std::int16_t index)
{
    auto const& elements = window::tavrel_oskund().elements;
    auto found = std::find_if(
        elements.begin(), elements.end(), [&](Element const& e) { return e.array == array && e.index == index; });
    EXPECT_NE(found, elements.end()) << array << "(" << index << ")";
    return *found;
}

int right(Element const& e)
{
    return e.place.left + e.place.width;
}

int bottom(Element const& e)
{
    return e.place.top + e.place.height;
}

TEST(WindowDescription, EveryPlaceIsWholePixelsAndVisibleOnesFitTheClientArea)
{
    auto const& w = window::tavrel_oskund();
    EXPECT_EQ(w.client_area.width / 15, 470);
    EXPECT_EQ(w.client_area.height / 15, 409);
    ASSERT_EQ(w.elements.size(), 21u);
    for (auto const& e : w.elements) {
        SCOPED_TRACE(std::string(e.array) + "(" + std::to_string(e.index) + ")");
        for (int v : { e.place.left, e.place.top, e.place.width, e.place.height })
            EXPECT_EQ(v % 15, 0);
        if (e.visible) {
            EXPECT_GE(e.place.left, 0);
            EXPECT_GE(e.place.top, 0);
            EXPECT_LE(right(e), w.client_area.width);
            EXPECT_LE(bottom(e), w.client_area.height);
        }
    }
}

TEST(WindowDescription, TabIndicesAreZeroToTwentyAndFocusGoesThroughTheBoxesInOrder)
{
    std::vector<int> tab_indices;
    std::vector<std::pair<int, std::string>> focusable;
    for (auto const& e : window::tavrel_oskund().elements) {
        tab_indices.push_back(e.tab_index);
        if (e.visible && !std::holds_alternative<window::LabelSettings>(e.settings))
            focusable.emplace_back(e.tab_index, std::string(e.array) + "(" + std::to_string(e.index) + ")");
    }
    std::sort(tab_indices.begin(), tab_indices.end());
    for (int i = 0; i < 21; ++i)
        EXPECT_EQ(tab_indices[static_cast<std::size_t>(i)], i);
    std::sort(focusable.begin(), focusable.end());
    std::vector<std::string> order;
    for (auto const& f : focusable)
        order.push_back(f.second);
    EXPECT_EQ(order,
        (std::vector<std::string> {
            "Picture1(0)", "Picture1(1)", "Picture1(2)", "List1(0)", "List1(1)", "List1(2)", "Text1(0)" }));
}

TEST(WindowDescription, BoxesOverlapWhereTheLayoutSays)
{
    // The segment pictures meet in seams of 13 and 14 pixels.
    EXPECT_EQ(right(element("Picture1", 0)) - element("Picture1", 1).place.left, 195);
    EXPECT_EQ(right(element("Picture1", 1)) - element("Picture1", 2).place.left, 210);
    for (std::int16_t i = 0; i <= 2; ++i) {
        auto const& caption = element("Label1", static_cast<std::int16_t>(2 + i));
        auto const& list = element("List1", i);
        // Each selector stands under its caption, over its bottom pixel and the picture's top two.
        EXPECT_EQ(list.place.left, caption.place.left);
        EXPECT_EQ(list.place.width, caption.place.width);
        EXPECT_EQ(bottom(caption) - list.place.top, 15);
        EXPECT_EQ(bottom(list) - element("Picture1", i).place.top, 30);
    }
    EXPECT_EQ(right(element("Label1", 5)) - element("Label1", 1).place.left, 15);
}

TEST(WindowDescription, RoadPictureHoldersAreHiddenAndSegmentPicturesStartWithOneRoad)
{
    for (std::int16_t k = 0; k <= 7; ++k) {
        auto const& holder = element("Picture2", k);
        EXPECT_FALSE(holder.visible);
        EXPECT_EQ(std::get<window::PictureBoxSettings>(holder.settings).road_picture, k);
    }
    for (std::int16_t i = 0; i <= 2; ++i) {
        auto const& segment = element("Picture1", i);
        auto const& s = std::get<window::PictureBoxSettings>(segment.settings);
        EXPECT_EQ(s.road_picture, 1);
        EXPECT_FALSE(s.border);
        EXPECT_EQ(segment.place.width, 150 * 15);
        EXPECT_EQ(segment.place.height, 150 * 15);
    }
}

} // namespace
