// How user input enters the program: a back end reports a choice in a list,
// the engine raises the click only for a real change, shows what the click
// changed once it is over, and reports any error a handler raises before the
// process ends.
#include "platform/engine.h"
#include "platform/headless/headless_backend.h"
#include "test_form.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

using namespace platform;

namespace {

struct OneList {
    Form form { "f" };
    ListBox& list = form.add<ListBox>("List1", 0);
    OneList()
    {
        for (char const* entry : { "0", "1", "2" })
            list.add_entry(entry);
    }
};

} // namespace

TEST(Engine, ChoosingTheSelectedEntryAgainRaisesNoClick)
{
    OneList window;
    int clicks = 0;
    window.form.on_click = [&](Form&, std::string_view, std::int16_t) { ++clicks; };
    user_selected(window.list, 2);
    user_selected(window.list, 2);
    user_selected(window.list, 0);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(window.list.ListIndex(), 0);
}

TEST(Engine, ShowsEachElementAUserEventChangedOnceWhenItsHandlerReturns)
{
    auto const form = testing_support::make_route_form();
    form->raise_load();
    build_window(*form);
    auto& changes = headless::backend().changes;
    changes.clear();
    // The click sets the route count's caption seven times while it builds it.
    ListBox& list = form->list_box("List1", 1);
    user_selected(list, 3);
    Label const& count = form->label("Label1", 1);
    EXPECT_EQ(changes, (std::vector<Control const*> { &list, &form->picture_box("Picture1", 1), &count }));
    // A change made outside user input is shown at once.
    changes.clear();
    form->label("Label1", 0).set_Caption("A");
    EXPECT_EQ(changes, (std::vector<Control const*> { &form->label("Label1", 0) }));
}

TEST(EngineDeathTest, AnyErrorFromAHandlerIsReportedAndEndsTheProcess)
{
    struct Case {
        char const* name;
        void (*handler)();
        char const* report;
    };
    Case const cases[] = {
        { "run-time error", [] { rt::raise(rt::ErrorCode::Overflow, "too many"); }, "грешка 6: Препълване: too many" },
        { "out of memory", [] { throw std::bad_alloc(); }, "грешка 400: .*bad_alloc" },
        { "not an exception class", [] { throw 42; }, "грешка 400: .*unknown exception" },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EXIT(
            {
                OneList window;
                auto const handler = c.handler;
                window.form.on_click = [handler](Form&, std::string_view, std::int16_t) { handler(); };
                user_selected(window.list, 1);
            },
            testing::ExitedWithCode(runtime_error_exit_code), c.report);
    }
}
