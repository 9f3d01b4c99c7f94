#include "platform/controls.h"
#include "platform/runtime.h"

#include "raised_by.h"

#include <gtest/gtest.h>

#include <vector>

using namespace platform;

using testing_support::raised_by;

namespace {

struct ChangeLog final : ControlObserver {
    void caption_changed(Label& label) override { seen.push_back(&label); }
    void selection_changed(ListBox& list) override { seen.push_back(&list); }
    void picture_changed(PictureBox& box) override { seen.push_back(&box); }
    std::vector<Control*> seen;
};

} // namespace

TEST(ControlModel, ElementsAreUniqueAndAddressedByArrayAndIndex)
{
    Form form("f");
    auto& label = form.add<Label>("Label1", 5);
    form.add<Label>("Label1", 0);
    EXPECT_EQ(&form.label("Label1", 5), &label);
    EXPECT_EQ(raised_by([&] { form.add<Label>("Label1", 5); }), rt::ErrorCode::InvalidCall);
    EXPECT_EQ(raised_by([&] { form.add<Label>("Label1", -1); }), rt::ErrorCode::InvalidCall);
    EXPECT_EQ(raised_by([&] { form.label("Label1", 3); }), rt::ErrorCode::ControlElementMissing);
    EXPECT_EQ(raised_by([&] { form.label("Label1", -1); }), rt::ErrorCode::ControlElementMissing);
    EXPECT_EQ(raised_by([&] { form.label("Label2", 0); }), rt::ErrorCode::ControlElementMissing);
    EXPECT_EQ(raised_by([&] { form.picture_box("Label1", 0); }), rt::ErrorCode::TypeMismatch);
    EXPECT_EQ(form.controls().size(), 2u);
    EXPECT_EQ(form.controls()[0].get(), &label) << "creation order is kept";
}

TEST(ControlModel, ListEntriesAndSelection)
{
    Form form("f");
    auto& list = form.add<ListBox>("List1", 0);
    for (char const* entry : { "0", "1", "2" })
        list.add_entry(entry);
    std::vector<std::int16_t> clicks;
    form.on_click = [&](Form&, std::string_view array, std::int16_t index) {
        EXPECT_EQ(array, "List1");
        clicks.push_back(list.ListIndex()); // the new selection is visible inside the event
        EXPECT_EQ(index, 0);
    };
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.List(-1), "");
    EXPECT_EQ(list.List(2), "2");
    EXPECT_EQ(raised_by([&] { list.List(3); }), rt::ErrorCode::InvalidPropertyValue);
    list.set_ListIndex(2);
    list.set_ListIndex(2);
    list.set_ListIndex(-1);
    EXPECT_EQ(clicks, (std::vector<std::int16_t> { 2, 2, -1 }));
    EXPECT_EQ(raised_by([&] { list.set_ListIndex(3); }), rt::ErrorCode::InvalidPropertyValue);
    EXPECT_EQ(list.ListIndex(), -1) << "a refused selection leaves the old one";
}

TEST(ControlModel, ObserverSeesEveryVisibleChangeAndPicturesAreShared)
{
    Form form("f");
    ChangeLog log;
    form.set_observer(&log);
    auto& label = form.add<Label>("Label1", 1);
    auto& box = form.add<PictureBox>("Picture1", 0);
    auto picture = std::make_shared<Picture const>(Picture { 1, 1, { 0xFF000000 }, {} });
    label.set_Caption("x");
    box.set_Picture(picture);
    EXPECT_EQ(log.seen, (std::vector<Control*> { &label, &box }));
    EXPECT_EQ(box.Picture().get(), picture.get());
}

TEST(ControlModel, TwipsBecomeTheNearestWholePixel)
{
    struct Case {
        std::int32_t twips;
        int pixels;
    };
    Case const cases[] = { { 0, 0 }, { 15, 1 }, { 7050, 470 }, { 6135, 409 }, { 7, 0 }, { 8, 1 }, { 22, 1 }, { 23, 2 },
        { -15, -1 }, { -8, -1 }, { -7, 0 } };
    for (auto const& c : cases) {
        PixelPlace const p = to_pixels(Place { c.twips, c.twips, c.twips, c.twips });
        EXPECT_EQ(p.x, c.pixels) << c.twips;
        EXPECT_EQ(p.h, c.pixels) << c.twips;
    }
}

TEST(ControlModel, FontSizeBecomesTheNearestPixelHeightAt96Dpi)
{
    struct Case {
        double points;
        int pixels;
    };
    Case const cases[] = { { 12, 16 }, { 0, 16 }, { 10, 13 }, { 8.25, 11 }, { 9, 12 }, { 7.5, 10 }, { 24, 32 } };
    for (auto const& c : cases)
        EXPECT_EQ(font_pixels(Font { "Times New Roman", 204, 0, 400, c.points }), c.pixels) << c.points;
}
