// The window's markup, which the page parses: every text the program shows
// arrives as that text, never as markup, in the live window and its copy.
#include "platform/web/web_markup.h"

#include <gtest/gtest.h>

#include <string>

using namespace platform;

namespace {

struct Window {
    Form form { "f" };
    Window()
    {
        form.caption = "A \"title\" & <more>";
        form.client_area = { 0, 0, 1500, 1500 };
        Label& label = form.add<Label>("Label1", 0);
        label.place = { 0, 0, 1500, 300 };
        label.set_Caption("1<2 & 3>2\r\n\"x\"");
        ListBox& list = form.add<ListBox>("List1", 0);
        list.place = { 0, 300, 1500, 600 };
        list.add_entry("</select>");
        TextBox& text = form.add<TextBox>("Text1", 0);
        text.place = { 0, 900, 1500, 600 };
        text.text = "\r\n</textarea><b>";
    }
};

} // namespace

TEST(WebMarkup, TextsArriveAsTextInBothMarkups)
{
    Window window;
    web::Layout const layout = web::layout_of(window.form);
    std::string const live = web::live_markup(window.form, layout);
    std::string const still = web::still_markup(window.form, layout, [](auto const&, auto const&) { return ""; });
    struct Case {
        std::string const& markup;
        char const* must;
        char const* must_not;
    };
    Case const cases[] = {
        { live, "aria-label=\"A &quot;title&quot; &amp; &lt;more&gt;\"", "<more>" },
        { live, ">1&lt;2 &amp; 3&gt;2&#13;\n&quot;x&quot;</div>", "1<2" },
        { still, ">1&lt;2 &amp; 3&gt;2&#13;\n&quot;x&quot;</div>", "1<2" },
        { live, "<option>&lt;/select&gt;</option>", "<option></select>" },
        // The parser drops one line break after the start tag: the text's own stays.
        { still, "spellcheck=\"false\">\n&#13;\n&lt;/textarea&gt;&lt;b&gt;</textarea>", "<b>" },
    };
    for (Case const& c : cases) {
        EXPECT_NE(c.markup.find(c.must), std::string::npos) << c.must;
        EXPECT_EQ(c.markup.find(c.must_not), std::string::npos) << c.must_not;
    }
}
