// Web back end (WebAssembly in a browser page): the window as DOM elements in
// one block of the page, put there by web_window.js from the markup that
// web_markup.cpp writes; here the window, the calls into the page and the
// error report, the elements in web_controls.cpp. Implements labels painted
// behind every box, native list boxes (<select>) with their own keys, wheel,
// clicks and taps, pictures on canvases drawn 1:1 and scaled without
// smoothing, the read-only task text (<textarea readonly>), front-to-back
// order by creation, the elements in reading order, Tab and Shift+Tab in tab
// index order, the caption as the page title, the icon as the favicon, names
// for assistive technology (a list or picture is named by the caption label
// above it, the top label heads the window, the task text gets a name of its
// own), an in-page modal error report, pictures whose bitmap the page has not
// unpacked yet (the box stays empty, and at the start the window stays out of
// the page, until it comes), and a copy of the start window written into the
// page's markup at build time, which the window replaces. Leaves out a frame,
// a close button and moving the window: the page is the frame, and closing
// its tab closes the program.
#include "web_backend.h"

#include "platform/display.h"

#include <emscripten.h>

#include <vector>

// clang-format off
EM_JS(void, js_set_title, (char const* title), { Tavrel.window.setTitle(UTF8ToString(title)); });
EM_JS(void, js_set_icon, (std::uint8_t const* rgba, int w, int h), { Tavrel.window.setIcon(rgba, w, h); });
EM_JS(void, js_make_window, (char const* markup, int const* numbers, int count, int w, int h), {
    Tavrel.window.make(UTF8ToString(markup), Array.from(HEAP32.subarray(numbers >> 2, (numbers >> 2) + count)), w, h);
});
EM_JS(void, js_set_caption, (int id, char const* text), { Tavrel.window.setCaption(id, UTF8ToString(text)); });
EM_JS(void, js_set_selected, (int id, int entry), { Tavrel.window.setSelected(id, entry); });
EM_JS(void, js_put_picture, (int id, int picture, std::uint8_t const* rgba, int w, int h), {
    Tavrel.window.putPicture(id, picture, rgba, w, h);
});
EM_JS(void, js_wait_picture, (int id), { Tavrel.window.waitPicture(id); });
EM_JS(int, js_file_arrived, (std::uint8_t const* at, int size), { return Tavrel.load.arrived(at, size) ? 1 : 0; });
EM_JS(void, js_focus, (int id, int quiet), { Tavrel.window.focus(id, quiet !== 0); });
EM_JS(void, js_show_window, (int focus_id), { Tavrel.window.show(focus_id); });
EM_JS(void, js_report, (char const* title, char const* text, char const* button, char const* ended), {
    Tavrel.report(UTF8ToString(title), UTF8ToString(text), UTF8ToString(button), UTF8ToString(ended));
});
// clang-format on

namespace web {

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
    b.layout = layout_of(form);
    js_set_title(form.caption.c_str());
    if (form.icon && form.icon->has_pixels()) {
        std::vector<std::uint8_t> const rgba = platform::rgba_bytes(*form.icon);
        js_set_icon(rgba.data(), form.icon->width, form.icon->height);
    }
}

// The elements come into the page in one piece, as they stand when the
// window is shown, in reading order; then the pictures are drawn on them.
void show(platform::Form& form, platform::Control* first_focus)
{
    Backend& b = backend();
    std::vector<int> const numbers = layout_numbers(b.layout);
    js_make_window(live_markup(form, b.layout).c_str(), numbers.data(), static_cast<int>(numbers.size()),
        b.layout.client.w, b.layout.client.h);
    b.made = true;
    for (platform::PictureBox const* box : b.picture_boxes)
        show_picture(*box);
    js_show_window(first_focus ? id_of(*first_focus) : -1);
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
    js_report(report.title.c_str(), report.text.c_str(), report_button, ended_text);
}

} // namespace display
