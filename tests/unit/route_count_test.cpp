#include "platform/runtime.h"
#include "raised_by.h"
#include "route/tavrel_oskund.h"
#include "test_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using route::Tavrel_Oskund;

namespace {

std::string caption(Tavrel_Oskund const& window)
{
    return window.Label1(1).Caption();
}

class CaptionLog final : public platform::ControlObserver {
public:
    void caption_changed(platform::Label& label) override
    {
        if (label.index() == 1)
            settled.push_back(label.Caption());
    }
    std::vector<std::string> settled;
};

} // namespace

TEST(RouteCount, EverySelectionGivesTheProductFormula)
{
    auto form = testing_support::make_route_form();
    Tavrel_Oskund window(*form);
    for (int a = 0; a < 8; ++a)
        for (int b = 0; b < 8; ++b)
            for (int c = 0; c < 8; ++c) {
                window.List1(0).set_ListIndex(static_cast<std::int16_t>(a));
                window.List1(1).set_ListIndex(static_cast<std::int16_t>(b));
                window.List1(2).set_ListIndex(static_cast<std::int16_t>(c));
                std::string const expected = std::to_string(a) + "*" + std::to_string(b) + "*" + std::to_string(c)
                    + " = " + std::to_string(a * b * c);
                ASSERT_EQ(caption(window), expected);
            }
}

TEST(RouteCount, UnselectedSegmentsReadAsEmptyAndZero)
{
    struct Case {
        std::int16_t a, b, c;
        char const* expected;
    };
    Case const cases[] = {
        { -1, -1, -1, "** = 0" },
        { 1, -1, -1, "1** = 0" },
        { 1, 1, -1, "1*1* = 0" },
        { -1, 5, 7, "*5*7 = 0" },
        { 2, 3, 4, "2*3*4 = 24" },
        { 7, 7, 7, "7*7*7 = 343" },
    };
    for (auto const& c : cases) {
        auto form = testing_support::make_route_form();
        Tavrel_Oskund window(*form);
        form->on_click = nullptr; // set the selections quietly, then rebuild once
        window.List1(0).set_ListIndex(c.a);
        window.List1(1).set_ListIndex(c.b);
        window.List1(2).set_ListIndex(c.c);
        route::rebuild_route_count(window);
        EXPECT_EQ(caption(window), c.expected);
        route::rebuild_route_count(window);
        EXPECT_EQ(caption(window), c.expected) << "a second rebuild must not accumulate";
    }
}

TEST(SelectionEvents, LoadSelectsOneEverywhereAndShowsEachStep)
{
    auto form = testing_support::make_route_form();
    Tavrel_Oskund window(*form);
    CaptionLog log;
    form->set_observer(&log);
    form->raise_load();

    // Every caption write is logged; the finished formulas are the ones that
    // end in the " = N" part.
    std::vector<std::string> finished;
    for (auto const& text : log.settled)
        if (text.find(" = ") != std::string::npos)
            finished.push_back(text);
    EXPECT_EQ(finished, (std::vector<std::string> { "1** = 0", "1*1* = 0", "1*1*1 = 1" }));
    for (std::int16_t i = 0; i <= 2; ++i) {
        EXPECT_EQ(window.List1(i).ListIndex(), 1);
        EXPECT_EQ(window.Picture1(i).Picture().get(), window.Picture2(1).Picture().get());
    }
}

TEST(SelectionEvents, ClicksShowTheChosenRoadPictureInAnyOrder)
{
    std::vector<std::vector<std::int16_t>> const orders = { { 0, 1, 2 }, { 2, 1, 0 }, { 1, 2, 0 } };
    std::int16_t const counts[] = { 3, 2, 5 };
    for (auto const& order : orders) {
        auto form = testing_support::make_route_form();
        Tavrel_Oskund window(*form);
        form->raise_load();
        for (std::int16_t segment : order)
            window.List1(segment).set_ListIndex(counts[segment]);
        EXPECT_EQ(caption(window), "3*2*5 = 30");
        for (std::int16_t segment = 0; segment <= 2; ++segment)
            EXPECT_EQ(window.Picture1(segment).Picture(), window.Picture2(counts[segment]).Picture());
    }
}

TEST(SelectionEvents, ZeroRoadsShowsPictureZeroAndNoRoutes)
{
    auto form = testing_support::make_route_form();
    Tavrel_Oskund window(*form);
    form->raise_load();
    window.List1(1).set_ListIndex(0);
    EXPECT_EQ(window.Picture1(1).Picture(), window.Picture2(0).Picture());
    EXPECT_EQ(caption(window), "1*0*1 = 0");
    // The other segments keep their pictures.
    EXPECT_EQ(window.Picture1(0).Picture(), window.Picture2(1).Picture());
}

TEST(SelectionEvents, MissingElementsAndBadIndicesRaiseRuntimeErrors)
{
    auto form = testing_support::make_route_form();
    Tavrel_Oskund window(*form);
    EXPECT_EQ(testing_support::raised_by([&] { route::List1_Click(window, 3); }), rt::ErrorCode::ControlElementMissing);
    EXPECT_EQ(
        testing_support::raised_by([&] { window.List1(0).set_ListIndex(8); }), rt::ErrorCode::InvalidPropertyValue);
    EXPECT_EQ(
        testing_support::raised_by([&] { window.List1(0).set_ListIndex(-2); }), rt::ErrorCode::InvalidPropertyValue);
    EXPECT_EQ(testing_support::raised_by([&] { form->list_box("Label1", 1); }), rt::ErrorCode::TypeMismatch);
    // Nothing selected: the handler asks for road picture -1, which is missing.
    EXPECT_EQ(
        testing_support::raised_by([&] { window.List1(0).set_ListIndex(-1); }), rt::ErrorCode::ControlElementMissing);
}
