// The form reader on whole descriptions: the real window read back from its
// packed stream equals its description, pictures that are absent leave their
// boxes empty, and the real window loads to "1*1*1 = 1" without a display.
#include "form_stream_support.h"

#include "assets/icon.h"
#include "assets/road_pictures.h"
#include "platform/engine.h"
#include "platform/form_reader.h"
#include "route/tavrel_oskund.h"
#include "window/description.h"
#include "window/pack.h"

#include <gtest/gtest.h>

#include <variant>

namespace {

using namespace form_stream_support;

void expect_place(platform::Place const& model, window::Place const& stored)
{
    EXPECT_EQ(model.left, stored.left);
    EXPECT_EQ(model.top, stored.top);
    EXPECT_EQ(model.width, stored.width);
    EXPECT_EQ(model.height, stored.height);
}

// Compares the model of one element with its description.
struct ElementMatches {
    platform::Control const& control;
    bool with_pictures;

    void operator()(window::TextBoxSettings const& s) const
    {
        ASSERT_EQ(control.kind(), platform::Kind::TextBox);
        auto const& box = static_cast<platform::TextBox const&>(control);
        EXPECT_EQ(box.text, s.text);
        EXPECT_EQ(box.multi_line, s.multi_line);
        EXPECT_EQ(box.scroll_bars, static_cast<std::uint8_t>(s.scroll_bars));
        EXPECT_EQ(box.locked, s.locked);
    }
    void operator()(window::PictureBoxSettings const& s) const
    {
        ASSERT_EQ(control.kind(), platform::Kind::PictureBox);
        auto const& box = static_cast<platform::PictureBox const&>(control);
        EXPECT_EQ(box.border, s.border);
        EXPECT_EQ(box.auto_size, s.auto_size);
        if (!with_pictures || s.road_picture == window::no_picture) {
            EXPECT_EQ(box.Picture(), nullptr);
            return;
        }
        ASSERT_NE(box.Picture(), nullptr);
        // The small road pictures tell their number in their first pixel.
        EXPECT_EQ(box.Picture()->width, 2);
        EXPECT_EQ(box.Picture()->at(0, 0), 0xFF000000u | static_cast<std::uint32_t>(s.road_picture));
    }
    void operator()(window::ListBoxSettings const& s) const
    {
        ASSERT_EQ(control.kind(), platform::Kind::ListBox);
        auto const& list = static_cast<platform::ListBox const&>(control);
        ASSERT_EQ(static_cast<std::size_t>(list.ListCount()), s.entries.size());
        for (std::int16_t i = 0; i < list.ListCount(); ++i)
            EXPECT_EQ(list.List(i), s.entries[static_cast<std::size_t>(i)]);
        EXPECT_EQ(list.ListIndex(), -1);
    }
    void operator()(window::LabelSettings const& s) const
    {
        ASSERT_EQ(control.kind(), platform::Kind::Label);
        auto const& label = static_cast<platform::Label const&>(control);
        EXPECT_EQ(label.Caption(), s.caption);
        EXPECT_EQ(label.back_color, s.back_color);
        EXPECT_EQ(label.centred, s.alignment == window::Alignment::Centre);
    }
};

void expect_form_matches(platform::Form const& form, window::Window const& d, bool with_pictures)
{
    EXPECT_EQ(form.name(), d.name);
    EXPECT_EQ(form.caption, d.caption);
    EXPECT_EQ(form.client_area.left, d.client_area.left);
    EXPECT_EQ(form.client_area.top, d.client_area.top);
    EXPECT_EQ(form.client_area.width, d.client_area.width);
    EXPECT_EQ(form.client_area.height, d.client_area.height);
    EXPECT_EQ(form.back_color, d.back_color);
    EXPECT_EQ(form.border_style, static_cast<std::uint8_t>(d.border_style));
    EXPECT_EQ(form.max_button, d.max_button);
    EXPECT_EQ(form.min_button, d.min_button);
    EXPECT_EQ(form.font.name, d.font.name);
    EXPECT_EQ(form.font.charset, d.font.charset);
    EXPECT_EQ(form.font.style, d.font.style);
    EXPECT_EQ(form.font.weight, d.font.weight);
    EXPECT_DOUBLE_EQ(form.font.size_points, d.font.size_points_x10000 / 10000.0);
    EXPECT_EQ(form.icon != nullptr, with_pictures && d.has_icon);

    ASSERT_EQ(form.controls().size(), d.elements.size());
    for (std::size_t i = 0; i < d.elements.size(); ++i) {
        auto const& control = *form.controls()[i];
        auto const& e = d.elements[i];
        SCOPED_TRACE(std::string(e.array) + "(" + std::to_string(e.index) + ")");
        EXPECT_EQ(control.array(), e.array);
        EXPECT_EQ(control.index(), e.index);
        expect_place(control.place, e.place);
        EXPECT_EQ(control.visible, e.visible);
        EXPECT_EQ(control.tab_index, e.tab_index);
        std::visit(ElementMatches { control, with_pictures }, e.settings);
    }
}

TEST(FormReader, RealWindowReadsBackAsDescribed)
{
    for (bool with_pictures : { false, true }) {
        SCOPED_TRACE(with_pictures ? "with pictures" : "without pictures");
        auto const stream
            = window::pack(window::tavrel_oskund(), with_pictures ? small_pictures() : window::PictureFiles {});
        auto const form = platform::read_form(stream);
        expect_form_matches(*form, window::tavrel_oskund(), with_pictures);
    }
}

TEST(FormReader, SmallWindowReadsBackAsDescribed)
{
    auto const form = platform::read_form(window::pack(small_window(), small_pictures()));
    expect_form_matches(*form, small_window(), true);
    // Top row red and transparent, bottom row green and blue; transparency keeps the colour.
    ASSERT_NE(form->icon, nullptr);
    EXPECT_EQ(form->icon->pixels, (std::vector<std::uint32_t> { 0xFFFF0000, 0x00000000, 0xFF00FF00, 0xFF0000FF }));
}

TEST(FormReader, RealWindowLoadsWithOneRouteOnEachSegment)
{
    for (bool with_pictures : { false, true }) {
        auto const form = platform::read_form(
            window::pack(window::tavrel_oskund(), with_pictures ? small_pictures() : window::PictureFiles {}));
        route::bind_handlers(*form);
        form->raise_load();
        route::Tavrel_Oskund const w(*form);
        EXPECT_EQ(w.Label1(1).Caption(), "1*1*1 = 1");
        for (std::int16_t i = 0; i <= 2; ++i) {
            EXPECT_EQ(w.List1(i).ListIndex(), 1);
            // Shared with the road picture holder, not copied.
            EXPECT_EQ(w.Picture1(i).Picture(), w.Picture2(1).Picture());
        }
        w.List1(2).set_ListIndex(7);
        EXPECT_EQ(w.Label1(1).Caption(), "1*1*7 = 7");
    }
}

TEST(FormReader, RoadPicturesSurviveTheStreamPixelForPixel)
{
    window::PictureFiles files;
    for (int k = 0; k < window::road_picture_count; ++k)
        files.road_pictures[static_cast<std::size_t>(k)] = assets::road_picture_bmp(k);
    auto const form = platform::read_form(window::pack(window::tavrel_oskund(), files));
    route::Tavrel_Oskund const w(*form);
    for (std::int16_t k = 0; k < window::road_picture_count; ++k) {
        auto const& picture = w.Picture2(k).Picture();
        ASSERT_NE(picture, nullptr);
        ASSERT_EQ(picture->width, assets::road_picture_size);
        ASSERT_EQ(picture->height, assets::road_picture_size);
        auto const& drawn = assets::draw_road_picture(k);
        int mismatches = 0;
        for (int y = 0; y < picture->height; ++y)
            for (int x = 0; x < picture->width; ++x)
                mismatches += picture->at(x, y) != (drawn.is_black(x, y) ? 0xFF000000u : 0xFFFFFFFFu);
        EXPECT_EQ(mismatches, 0) << "road picture " << k;
    }
    for (std::int16_t i = 0; i <= 2; ++i)
        EXPECT_EQ(w.Picture1(i).Picture()->pixels, w.Picture2(1).Picture()->pixels);
}

TEST(FormReader, WindowIconSurvivesTheStreamWithItsTransparency)
{
    window::PictureFiles files;
    files.icon = assets::icon_ico();
    auto const form = platform::read_form(window::pack(window::tavrel_oskund(), files));
    ASSERT_NE(form->icon, nullptr);
    ASSERT_EQ(form->icon->width, assets::icon_size);
    ASSERT_EQ(form->icon->height, assets::icon_size);
    auto const rgba = assets::icon_rgba();
    int transparent = 0;
    for (std::size_t i = 0; i < form->icon->pixels.size(); ++i) {
        std::uint32_t const p = form->icon->pixels[i];
        std::uint32_t const expected = (static_cast<std::uint32_t>(rgba[4 * i + 3]) << 24)
            | (static_cast<std::uint32_t>(rgba[4 * i]) << 16) | (rgba[4 * i + 1] << 8) | rgba[4 * i + 2];
        EXPECT_EQ(p, expected) << "pixel " << i;
        transparent += (p >> 24) == 0;
    }
    EXPECT_EQ(transparent, 369);
}

TEST(FormReaderDeathTest, StartRoutineRunsTheWindowOrReportsABrokenOne)
{
    static auto const good = window::pack(window::tavrel_oskund());
    static auto broken = good;
    broken.back() = 0x05;
    platform::Project project { "Routes", good, route::bind_handlers };
    EXPECT_EXIT(platform::ThunRTMain(project), testing::ExitedWithCode(0), "");
    project.form_description = broken;
    EXPECT_EXIT(platform::ThunRTMain(project), testing::ExitedWithCode(platform::runtime_error_exit_code),
        "Routes: грешка 450: .*end marker");
}

} // namespace
