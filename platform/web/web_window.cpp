// Web back end (WebAssembly in a browser page): the window as DOM elements in
// one block of the page, made by web_dom.js; here the window, the calls into
// the page and the error report, the elements in web_controls.cpp. Implements
// labels painted behind every box, native list boxes (<select>) with their own
// keys, wheel, clicks and taps, pictures on canvases drawn 1:1 and scaled
// without smoothing, the read-only task text (<textarea readonly>),
// front-to-back order by creation, the elements in reading order, Tab and
// Shift+Tab in tab index order, the caption as the page title, the icon as the
// favicon, names for assistive technology (a list or picture is named by the
// caption label above it, the top label heads the window, the task text gets a
// name of its own), an in-page modal error report, pictures whose bitmap the
// page has not unpacked yet (the box stays empty, and at the start the window
// stays out of the page, until it comes), and a copy of the start window drawn
// into the page's markup at build time, which the window replaces. Leaves out
// a frame, a close button and moving the window: the page is the frame, and
// closing its tab closes the program.
#include "web_backend.h"

#include "platform/display.h"
#include "platform/tab_ring.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <string>

// clang-format off
EM_JS(void, js_open_window, (char const* title, int w, int h, char const* color, char const* font, int font_px), {
    TavrelDom.openWindow(UTF8ToString(title), w, h, UTF8ToString(color), UTF8ToString(font), font_px);
});
EM_JS(void, js_set_icon, (std::uint8_t const* rgba, int w, int h), { TavrelDom.setIcon(rgba, w, h); });
EM_JS(void, js_add_label, (int id, int x, int y, int w, int h, int z, char const* color, int centred, int heading), {
    TavrelDom.addLabel(id, x, y, w, h, z, UTF8ToString(color), centred !== 0, heading !== 0);
});
EM_JS(void, js_add_list, (int id, int x, int y, int w, int h, int z, char const* entries, int caption_label), {
    var texts = UTF8ToString(entries).split(String.fromCharCode(1));
    texts.pop();
    TavrelDom.addList(id, x, y, w, h, z, texts, caption_label);
});
EM_JS(void, js_add_picture, (int id, int x, int y, int w, int h, int z, int caption_label), {
    TavrelDom.addPicture(id, x, y, w, h, z, caption_label);
});
EM_JS(void, js_add_text, (int id, int x, int y, int w, int h, int z, char const* text, int read_only, char const* name), {
    TavrelDom.addText(id, x, y, w, h, z, UTF8ToString(text), read_only !== 0, UTF8ToString(name));
});
EM_JS(void, js_set_reading_order, (int const* ids, int count), {
    TavrelDom.setReadingOrder(Array.from(HEAP32.subarray(ids >> 2, (ids >> 2) + count)));
});
EM_JS(void, js_set_caption, (int id, char const* text), { TavrelDom.setCaption(id, UTF8ToString(text)); });
EM_JS(void, js_set_selected, (int id, int entry), { TavrelDom.setSelected(id, entry); });
EM_JS(void, js_put_picture, (int id, int picture, std::uint8_t const* rgba, int w, int h), {
    TavrelDom.putPicture(id, picture, rgba, w, h);
});
EM_JS(void, js_wait_picture, (int id), { TavrelDom.waitPicture(id); });
EM_JS(int, js_file_arrived, (std::uint8_t const* at, int size), { return TavrelDom.arrived(at, size) ? 1 : 0; });
EM_JS(void, js_focus, (int id, int quiet), { TavrelDom.focus(id, quiet !== 0); });
EM_JS(void, js_fit, (), { TavrelFit.fit(); });
EM_JS(void, js_report, (char const* title, char const* text, char const* button, char const* ended), {
    TavrelDom.report(UTF8ToString(title), UTF8ToString(text), UTF8ToString(button), UTF8ToString(ended));
});
// clang-format on

namespace web {

std::string css_color(platform::Color rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text;
}

namespace {

// The window font first, then its metric twin from the Liberation family,
// which most Linux machines and Chromebooks have, then the generic family.
std::string css_font_family(platform::Font const& font)
{
    struct Twin {
        char const* name;
        char const* twin;
        char const* generic;
    };
    static constexpr Twin twins[] = {
        { "Times New Roman", "Liberation Serif", "serif" },
        { "Arial", "Liberation Sans", "sans-serif" },
        { "Courier New", "Liberation Mono", "monospace" },
    };
    std::string family = "\"";
    for (char c : font.name) // a CSS string: quotes and backslashes escaped, no control characters
        if (c == '"' || c == '\\')
            family += std::string("\\") + c;
        else if (static_cast<unsigned char>(c) >= 0x20)
            family += c;
    family += "\"";
    char const* generic = "serif";
    for (auto const& t : twins)
        if (font.name == t.name) {
            family += std::string(", \"") + t.twin + "\"";
            generic = t.generic;
        }
    return family + ", " + generic;
}

} // namespace

Backend& backend()
{
    static Backend instance;
    return instance;
}

} // namespace web

namespace display {

using namespace web;

// The page writes the bitmaps' pixels into the description after the
// window's first frame; a picture waits for its own.
void start()
{
    platform::set_file_arrived([](std::span<std::uint8_t const> file) {
        return js_file_arrived(file.data(), static_cast<int>(file.size())) != 0;
    });
}

void open_window(platform::Form& form)
{
    platform::PixelPlace const client = platform::to_pixels(form.client_area);
    if (client.w <= 0 || client.h <= 0)
        rt::raise(rt::ErrorCode::InvalidPropertyValue, "Web: the window has no client area");
    Backend& b = backend();
    b.form = &form;
    js_open_window(form.caption.c_str(), client.w, client.h, css_color(form.back_color).c_str(),
        css_font_family(form.font).c_str(), platform::font_pixels(form.font));
    if (form.icon && form.icon->has_pixels()) {
        std::vector<std::uint8_t> const rgba = platform::rgba_bytes(*form.icon);
        js_set_icon(rgba.data(), form.icon->width, form.icon->height);
    }
    for (auto const& control : form.controls())
        if (control->visible)
            b.elements.push_back(control.get());
}

void show(platform::Form& form)
{
    Backend const& b = backend();
    // The page reads top to bottom and left to right, as the window looks, for
    // a screen reader's linear reading; the stacking follows creation order.
    std::vector<int> reading(b.elements.size());
    for (std::size_t i = 0; i < reading.size(); ++i)
        reading[i] = static_cast<int>(i);
    std::stable_sort(reading.begin(), reading.end(), [&](int x, int y) {
        platform::PixelPlace const px = platform::to_pixels(b.elements[static_cast<std::size_t>(x)]->place);
        platform::PixelPlace const py = platform::to_pixels(b.elements[static_cast<std::size_t>(y)]->place);
        return std::pair(px.y, px.x) < std::pair(py.y, py.x);
    });
    js_set_reading_order(reading.data(), static_cast<int>(reading.size()));
    for (platform::PictureBox const* box : b.picture_boxes)
        show_picture(*box);
    // Fitted to the viewport before the focus lays the page out, so that
    // the first frame needs no second layout.
    js_fit();
    if (platform::Control const* first = platform::TabRing(form).first())
        js_focus(id_of(*first), 1);
}

void run(platform::Form&)
{
    // The browser runs the event loop: leave main with the program alive, the
    // form included, and let input come in through web_controls.cpp.
    emscripten_exit_with_live_runtime();
}

// Never reached: run() does not return while the page is open.
void end() { }

void report(platform::ErrorReport const& report)
{
    js_report(report.title.c_str(), report.text.c_str(), "OK", "Програмата завърши след грешка при изпълнение.");
}

} // namespace display
