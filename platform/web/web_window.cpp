// Web back end (WebAssembly in a browser page): the window as DOM elements in
// one block of the page, made by web_dom.js. Implements labels painted behind
// every box, native list boxes (<select>) with their own keys, wheel, clicks
// and taps, pictures on canvases drawn 1:1 and scaled without smoothing,
// the read-only task text (<textarea readonly>), front-to-back order by
// creation, Tab and Shift+Tab in tab index order, the caption as the page
// title, the icon as the favicon, names for assistive technology (a list or
// picture is named by the caption label above it) and an in-page modal error
// report. Leaves out a frame, a close button and moving the window: the page
// is the frame, and closing its tab closes the program.
#include "platform/display.h"
#include "platform/engine.h"
#include "platform/tab_ring.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace web {

namespace {

// clang-format off
EM_JS(void, js_open_window, (char const* title, int w, int h, char const* color, char const* font, int font_px), {
    TavrelDom.openWindow(UTF8ToString(title), w, h, UTF8ToString(color), UTF8ToString(font), font_px);
});
EM_JS(void, js_add_label, (int id, int x, int y, int w, int h, int z, char const* color, int centred), {
    TavrelDom.addLabel(id, x, y, w, h, z, UTF8ToString(color), centred !== 0);
});
EM_JS(void, js_add_list, (int id, int x, int y, int w, int h, int z, char const* entries, int header), {
    // The entries arrive as one text, each ended by the byte 1.
    var texts = UTF8ToString(entries).split(String.fromCharCode(1));
    texts.pop();
    TavrelDom.addList(id, x, y, w, h, z, texts, header);
});
EM_JS(void, js_add_picture, (int id, int x, int y, int w, int h, int z, int header), {
    TavrelDom.addPicture(id, x, y, w, h, z, header);
});
EM_JS(void, js_add_text, (int id, int x, int y, int w, int h, int z, char const* text, int read_only), {
    TavrelDom.addText(id, x, y, w, h, z, UTF8ToString(text), read_only !== 0);
});
EM_JS(void, js_set_caption, (int id, char const* text), { TavrelDom.setCaption(id, UTF8ToString(text)); });
EM_JS(void, js_set_selected, (int id, int entry), { TavrelDom.setSelected(id, entry); });
EM_JS(void, js_set_text, (int id, char const* text), { TavrelDom.setText(id, UTF8ToString(text)); });
EM_JS(void, js_put_picture, (int id, int picture, std::uint8_t const* rgba, int w, int h), {
    TavrelDom.putPicture(id, picture, rgba, w, h);
});
EM_JS(void, js_set_icon, (std::uint8_t const* rgba, int w, int h), { TavrelDom.setIcon(rgba, w, h); });
EM_JS(void, js_focus, (int id, int quiet), { TavrelDom.focus(id, quiet !== 0); });
EM_JS(void, js_fit, (), { TavrelFit.fit(); });
EM_JS(void, js_report, (char const* title, char const* text, char const* button, char const* ended), {
    TavrelDom.report(UTF8ToString(title), UTF8ToString(text), UTF8ToString(button), UTF8ToString(ended));
});
// clang-format on

class Observer final : public platform::ControlObserver {
public:
    void changed(platform::Control& control) override;
};

// Everything the back end owns. An element's id is its position in
// `elements`, which is also its id in the page.
struct Backend {
    platform::Form* form = nullptr;
    std::vector<platform::Control*> elements;
    platform::TabRing tab_ring;
    // Each picture goes to the page once; holding it keeps its id unique.
    std::map<platform::Picture const*, std::pair<platform::PictureRef, int>> pictures;
    Observer observer;
};
Backend* backend = nullptr;

int id_of(platform::Control const& control)
{
    auto const found = std::find(backend->elements.begin(), backend->elements.end(), &control);
    return found == backend->elements.end() ? -1 : static_cast<int>(found - backend->elements.begin());
}

std::string css_color(platform::Color rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text;
}

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

void show_picture(platform::PictureBox const& box)
{
    int const id = id_of(box);
    platform::PictureRef const& picture = box.Picture();
    if (!picture || picture->width <= 0 || picture->height <= 0) {
        js_put_picture(id, -1, nullptr, 0, 0);
        return;
    }
    // Before the window is shown a picture may not have its pixels yet;
    // show() puts it then.
    if (!picture->deferred_file.empty())
        return;
    auto found = backend->pictures.find(picture.get());
    if (found != backend->pictures.end()) {
        js_put_picture(id, found->second.second, nullptr, picture->width, picture->height);
        return;
    }
    int const picture_id = static_cast<int>(backend->pictures.size());
    backend->pictures.emplace(picture.get(), std::make_pair(picture, picture_id));
    std::vector<std::uint8_t> const rgba = platform::rgba_bytes(*picture);
    js_put_picture(id, picture_id, rgba.data(), picture->width, picture->height);
}

// The caption label that names a box for assistive technology: the nearest
// label above it whose middle lies over the box, as a caption stands over its
// list. -1 when there is none.
int header_of(platform::Control const& box)
{
    platform::PixelPlace const b = platform::to_pixels(box.place);
    int best = -1;
    int best_bottom = -1;
    for (std::size_t i = 0; i < backend->elements.size(); ++i) {
        platform::Control const& c = *backend->elements[i];
        if (c.kind() != platform::Kind::Label)
            continue;
        platform::PixelPlace const l = platform::to_pixels(c.place);
        int const middle = l.x + l.w / 2;
        int const bottom = l.y + l.h;
        if (middle >= b.x && middle < b.x + b.w && bottom <= b.y + 2 && bottom > best_bottom) {
            best = static_cast<int>(i);
            best_bottom = bottom;
        }
    }
    return best;
}

// Boxes in front of labels, and the earlier-created element in front of a
// later one of the same sort.
int z_order(std::size_t position, std::size_t count, platform::Kind kind)
{
    int const base = kind == platform::Kind::Label ? 0 : static_cast<int>(count);
    return base + static_cast<int>(count - position);
}

void make_element(std::size_t position, std::size_t count, platform::Control& control)
{
    int const id = static_cast<int>(position);
    platform::PixelPlace const p = platform::to_pixels(control.place);
    int const z = z_order(position, count, control.kind());
    switch (control.kind()) {
    case platform::Kind::Label: {
        auto const& label = static_cast<platform::Label const&>(control);
        js_add_label(id, p.x, p.y, p.w, p.h, z, css_color(label.back_color).c_str(), label.centred ? 1 : 0);
        js_set_caption(id, label.Caption().c_str());
        break;
    }
    case platform::Kind::ListBox: {
        auto const& list = static_cast<platform::ListBox const&>(control);
        std::string entries;
        for (std::int16_t i = 0; i < list.ListCount(); ++i)
            entries += list.List(i) + '\x01';
        js_add_list(id, p.x, p.y, p.w, p.h, z, entries.c_str(), header_of(control));
        js_set_selected(id, list.ListIndex());
        break;
    }
    case platform::Kind::PictureBox:
        js_add_picture(id, p.x, p.y, p.w, p.h, z, header_of(control));
        show_picture(static_cast<platform::PictureBox const&>(control));
        break;
    case platform::Kind::TextBox: {
        auto const& text = static_cast<platform::TextBox const&>(control);
        js_add_text(id, p.x, p.y, p.w, p.h, z, text.text.c_str(), text.locked ? 1 : 0);
        break;
    }
    }
}

void Observer::changed(platform::Control& control)
{
    if (!backend)
        return;
    int const id = id_of(control);
    if (id < 0)
        return; // a hidden box has nothing to show
    switch (control.kind()) {
    case platform::Kind::Label:
        js_set_caption(id, static_cast<platform::Label const&>(control).Caption().c_str());
        break;
    case platform::Kind::ListBox:
        js_set_selected(id, static_cast<platform::ListBox const&>(control).ListIndex());
        break;
    case platform::Kind::PictureBox:
        show_picture(static_cast<platform::PictureBox const&>(control));
        break;
    case platform::Kind::TextBox:
        js_set_text(id, static_cast<platform::TextBox const&>(control).text.c_str());
        break;
    }
}

} // namespace

} // namespace web

using namespace web;

// The page calls these for user input.
extern "C" {

EMSCRIPTEN_KEEPALIVE void tavrel_web_selected(int id, int entry)
{
    if (!backend || id < 0 || id >= static_cast<int>(backend->elements.size()))
        return;
    platform::Control* control = backend->elements[static_cast<std::size_t>(id)];
    if (control->kind() == platform::Kind::ListBox && entry >= 0 && entry < 0x8000)
        platform::user_selected(static_cast<platform::ListBox&>(*control), static_cast<std::int16_t>(entry));
}

// Where Tab (or Shift+Tab) moves the focus from element id; -1 for nowhere.
EMSCRIPTEN_KEEPALIVE int tavrel_web_tab(int id, int backward)
{
    if (!backend)
        return -1;
    bool const known = id >= 0 && id < static_cast<int>(backend->elements.size());
    platform::Control const* current = known ? backend->elements[static_cast<std::size_t>(id)] : nullptr;
    platform::Control const* next = backend->tab_ring.step(current, backward != 0);
    return next ? id_of(*next) : -1;
}

} // extern "C"

namespace display {

void prepare() { }

void open(platform::Form& form)
{
    platform::PixelPlace const client = platform::to_pixels(form.client_area);
    if (client.w <= 0 || client.h <= 0)
        rt::raise(rt::ErrorCode::InvalidPropertyValue, "Web: the window has no client area");
    backend = new Backend;
    backend->form = &form;
    js_open_window(form.caption.c_str(), client.w, client.h, css_color(form.back_color).c_str(),
        css_font_family(form.font).c_str(), platform::font_pixels(form.font));
    if (form.icon && form.icon->width > 0 && form.icon->height > 0) {
        std::vector<std::uint8_t> const rgba = platform::rgba_bytes(*form.icon);
        js_set_icon(rgba.data(), form.icon->width, form.icon->height);
    }
    for (auto const& control : form.controls())
        if (control->visible)
            backend->elements.push_back(control.get());
    // The page reads top to bottom and left to right, as the window looks, for
    // a screen reader's linear reading; the stacking follows creation order.
    std::vector<std::size_t> reading(backend->elements.size());
    for (std::size_t i = 0; i < reading.size(); ++i)
        reading[i] = i;
    std::stable_sort(reading.begin(), reading.end(), [](std::size_t a, std::size_t b) {
        platform::PixelPlace const pa = platform::to_pixels(backend->elements[a]->place);
        platform::PixelPlace const pb = platform::to_pixels(backend->elements[b]->place);
        return std::pair(pa.y, pa.x) < std::pair(pb.y, pb.x);
    });
    for (std::size_t i : reading)
        make_element(i, backend->elements.size(), *backend->elements[i]);
    backend->tab_ring = platform::TabRing(form);
    form.set_observer(&backend->observer);
}

void show(platform::Form&)
{
    for (platform::Control const* control : backend->elements)
        if (control->kind() == platform::Kind::PictureBox)
            show_picture(static_cast<platform::PictureBox const&>(*control));
    // Fitted to the viewport before the focus lays the page out, so that
    // the first frame needs no second layout.
    js_fit();
    if (platform::Control const* first = backend->tab_ring.first())
        js_focus(id_of(*first), 1);
}

void run(platform::Form&)
{
    // The browser runs the event loop: leave main with the program alive, the
    // form included, and let input come in through the calls above.
    emscripten_exit_with_live_runtime();
}

void report(platform::ErrorReport const& report)
{
    js_report(report.title.c_str(), report.text.c_str(), "OK", "Програмата завърши след грешка при изпълнение.");
}

} // namespace display
