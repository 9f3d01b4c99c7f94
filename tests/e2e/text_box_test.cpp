// The task text can be read, scrolled, selected and copied, but nothing the
// user types, deletes or pastes changes it.
#include "fixture.h"
#include "layout.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

class TaskTextTest : public WindowTest {
protected:
    static Rect place() { return element("Text1(0)").place; }
    Image text_box() { return screen().crop(place()); }
    // A point on the first word of the first line.
    static constexpr int word_x = 8 + 20;
    static constexpr int word_y = 288 + 12;
};

TEST_F(TaskTextTest, ASelectedWordCanBeCopied)
{
    click(word_x, word_y, 2);
    key("ctrl+c");
    std::string const copied = x().clipboard_text(2s);
    EXPECT_EQ(copied.substr(0, std::string("Едно").size()), "Едно") << copied;
}

TEST_F(TaskTextTest, TypingDeletingAndPastingChangeNothing)
{
    click(word_x, word_y, 2); // select the first word, which an edit would replace
    key("ctrl+c");
    Image const before = text_box();
    type("abc 123");
    for (char const* combo : { "Return", "BackSpace", "Delete", "ctrl+v", "shift+Insert", "ctrl+x", "ctrl+z" })
        key(combo);
    // A read-only Windows edit moves its caret to the next line on Return;
    // moving is allowed, so select the same word again before comparing.
    click(word_x, word_y, 2);
    EXPECT_TRUE(shows(place(), before)) << "the task text changed";
    EXPECT_EQ(route_count(), "1*1*1 = 1");
}

TEST_F(TaskTextTest, MiddleClickPastesNothing)
{
    click(word_x, word_y, 2); // the primary selection now holds a word
    Rect const box = element("Text1(0)").place;
    middle_click(box.x + 100, box.y + 40);
    Image const after_first = text_box();
    middle_click(box.x + 100, box.y + 40);
    // A paste would have grown the text at the second click as well.
    EXPECT_TRUE(shows(place(), after_first)) << "the task text changed";
}

TEST_F(TaskTextTest, ScrollsDownToItsLastLine)
{
    Rect const box = element("Text1(0)").place;
    click(box.x + 100, box.y + 40);
    Image const top = text_box();
    key("ctrl+End");
    Image const bottom = text_box();
    EXPECT_FALSE(shows(place(), top)) << "the text did not scroll";
    key("ctrl+End");
    EXPECT_TRUE(shows(place(), bottom)) << "the end moved on";
}

} // namespace
} // namespace e2e
