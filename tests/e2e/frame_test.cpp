// The window's frame as the window manager sees it: fixed size, no minimise
// or maximise, UTF-8 caption, an icon; closing it ends the program.
#include "fixture.h"
#include "layout.h"

#include <X11/Xutil.h>

#include <fstream>
#include <iterator>

namespace e2e {
namespace {

class FrameTest : public WindowTest { };

// Motif hints: flags, functions, decorations.
constexpr long hints_functions = 1, hints_decorations = 2;
constexpr long func_all = 1, func_resize = 2, func_minimize = 8, func_maximize = 16, func_close = 32;
constexpr long decor_all = 1, decor_resizeh = 4, decor_minimize = 32, decor_maximize = 64;

// With the "all" bit set, the other bits name what is taken away.
bool allows(long field, long all_bit, long bit)
{
    return (field & all_bit) ? !(field & bit) : (field & bit) != 0;
}

TEST_F(FrameTest, SizeHintsFixTheSize)
{
    auto const hints = x().normal_hints(m_window);
    ASSERT_TRUE(hints.has_value());
    ASSERT_TRUE(hints->flags & PMinSize);
    ASSERT_TRUE(hints->flags & PMaxSize);
    Rect const window = x().screen_rect(m_window);
    EXPECT_EQ(hints->min_width, window.w);
    EXPECT_EQ(hints->min_height, window.h);
    EXPECT_EQ(hints->max_width, window.w);
    EXPECT_EQ(hints->max_height, window.h);
}

TEST_F(FrameTest, NoMinimiseMaximiseOrResizeButCloseStays)
{
    auto const hints = x().long_property(m_window, "_MOTIF_WM_HINTS");
    ASSERT_GE(hints.size(), 3u) << "no Motif window-manager hints";
    ASSERT_TRUE(hints[0] & hints_functions);
    EXPECT_FALSE(allows(hints[1], func_all, func_resize));
    EXPECT_FALSE(allows(hints[1], func_all, func_minimize));
    EXPECT_FALSE(allows(hints[1], func_all, func_maximize));
    EXPECT_TRUE(allows(hints[1], func_all, func_close));
    if (hints[0] & hints_decorations) {
        EXPECT_FALSE(allows(hints[2], decor_all, decor_resizeh));
        EXPECT_FALSE(allows(hints[2], decor_all, decor_minimize));
        EXPECT_FALSE(allows(hints[2], decor_all, decor_maximize));
    }
}

TEST_F(FrameTest, TheCaptionIsUtf8AndEndsWithTheProgramsTitle)
{
    std::string const caption = x().text_property(m_window, "_NET_WM_NAME");
    std::string const title = "  Математика - правило за умножение";
    ASSERT_GT(caption.size(), title.size());
    EXPECT_EQ(caption.substr(caption.size() - title.size()), title);
}

// The icon file the build wrote, as 0xAARRGGBB values top row first, the way
// _NET_WM_ICON holds them: one 32 x 32 image of 8-bit colour indices and a
// transparency mask, both bottom row first.
std::vector<unsigned long> icon_file_pixels(std::string const& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> const ico { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    constexpr std::size_t image = 22, palette = image + 40, colours = palette + 256 * 4, mask = colours + 32 * 32;
    if (ico.size() < mask + 32 * 4)
        return {};
    std::vector<unsigned long> pixels(32 * 32);
    for (std::size_t y = 0; y < 32; ++y)
        for (std::size_t x = 0; x < 32; ++x) {
            std::size_t const row = 31 - y;
            bool const transparent = ico[mask + row * 4 + x / 8] >> (7 - x % 8) & 1;
            std::size_t const entry = palette + 4 * std::size_t(ico[colours + row * 32 + x]);
            pixels[y * 32 + x] = transparent
                ? 0
                : 0xFF000000ul | std::size_t(ico[entry + 2]) << 16 | std::size_t(ico[entry + 1]) << 8 | ico[entry];
        }
    return pixels;
}

TEST_F(FrameTest, TheWindowCarriesTheHamburgerIcon)
{
    auto const expected = icon_file_pixels(Desktop::get().plan().pictures_dir + "/Tavrel_Oskund.ico");
    ASSERT_EQ(expected.size(), 32u * 32u) << "no icon file next to the program";
    auto const icon = x().long_property(m_window, "_NET_WM_ICON");
    bool found = false;
    for (std::size_t at = 0; at + 2 <= icon.size(); at += 2 + static_cast<std::size_t>(icon[at] * icon[at + 1])) {
        if (icon[at] != 32 || icon[at + 1] != 32 || at + 2 + 32 * 32 > icon.size())
            continue;
        found = true;
        int differences = 0;
        for (std::size_t i = 0; i < 32 * 32; ++i) {
            unsigned long const shown = static_cast<unsigned long>(icon[at + 2 + i]) & 0xFFFFFFFFul;
            // A transparent pixel's colour does not matter.
            bool const same = (shown >> 24) == 0 ? expected[i] == 0 : shown == expected[i];
            differences += same ? 0 : 1;
        }
        EXPECT_EQ(differences, 0) << "pixels of the 32x32 window icon differ from the icon file";
    }
    EXPECT_TRUE(found) << "no 32x32 image in _NET_WM_ICON (" << icon.size() << " values)";
}

TEST_F(FrameTest, EscapeDoesNotCloseTheWindow)
{
    key("Escape");
    EXPECT_TRUE(running());
}

TEST_F(FrameTest, ClosingTheWindowEndsTheProgram)
{
    auto const status = close_window();
    ASSERT_TRUE(status.has_value()) << "still running after the window was closed";
    EXPECT_EQ(*status, 0);
}

} // namespace
} // namespace e2e
