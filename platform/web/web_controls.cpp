// Web back end: the elements of the window, the changes the page shows and
// the user input it hands back. Each element is made by web_dom.js in the
// window's block; a list or picture is named for assistive technology by the
// caption label above it.
#include "web_backend.h"

#include "platform/display.h"
#include "platform/engine.h"
#include "platform/tab_ring.h"

#include <emscripten.h>

#include <algorithm>
#include <string>
#include <vector>

namespace web {

namespace {

// The caption label that names a box for assistive technology: the nearest
// label above it whose middle lies over the box, as a caption stands over its
// list. -1 when there is none.
int caption_label_of(platform::Control const& box)
{
    platform::PixelPlace const b = platform::to_pixels(box.place);
    int best = -1;
    int best_bottom = -1;
    auto const& elements = backend().elements;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        platform::Control const& c = *elements[i];
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

// The label nearest the window's top edge (the widest of those at the same
// height) heads the window, as its title does for a reader of the page.
int heading_label()
{
    int best = -1;
    platform::PixelPlace top {};
    auto const& elements = backend().elements;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (elements[i]->kind() != platform::Kind::Label)
            continue;
        platform::PixelPlace const l = platform::to_pixels(elements[i]->place);
        if (best < 0 || l.y < top.y || (l.y == top.y && l.w > top.w)) {
            best = static_cast<int>(i);
            top = l;
        }
    }
    return best;
}

// Boxes in front of labels, and the earlier-created element in front of a
// later one of the same sort.
int z_order(platform::Control const& control, bool is_label)
{
    int const count = static_cast<int>(backend().elements.size());
    return (is_label ? 0 : count) + count - id_of(control);
}

platform::Control const* element(int id)
{
    auto const& elements = backend().elements;
    return id >= 0 && id < static_cast<int>(elements.size()) ? elements[static_cast<std::size_t>(id)] : nullptr;
}

} // namespace

int id_of(platform::Control const& control)
{
    auto const& elements = backend().elements;
    auto const found = std::find(elements.begin(), elements.end(), &control);
    return found == elements.end() ? -1 : static_cast<int>(found - elements.begin());
}

void show_picture(platform::PictureBox const& box)
{
    int const id = id_of(box);
    platform::PictureRef const& picture = box.Picture();
    if (!picture || picture->width <= 0 || picture->height <= 0) {
        js_put_picture(id, -1, nullptr, 0, 0);
        return;
    }
    // Before the window is shown a picture may not have its pixels yet, and
    // its file may still be on its way into the page: the box stays empty,
    // never showing another picture, until show() or the file's arrival.
    if (!picture->has_pixels()) {
        js_wait_picture(id);
        return;
    }
    auto& pictures = backend().pictures;
    auto found = pictures.find(picture.get());
    if (found != pictures.end()) {
        js_put_picture(id, found->second.second, nullptr, picture->width, picture->height);
        return;
    }
    int const picture_id = static_cast<int>(pictures.size());
    pictures.emplace(picture.get(), std::make_pair(picture, picture_id));
    std::vector<std::uint8_t> const rgba = platform::rgba_bytes(*picture);
    js_put_picture(id, picture_id, rgba.data(), picture->width, picture->height);
}

} // namespace web

using namespace web;

extern "C" {

EMSCRIPTEN_KEEPALIVE void tavrel_web_list_selected(int id, int entry)
{
    for (platform::ListBox* list : backend().lists)
        if (id_of(*list) == id && entry >= 0 && entry < 0x8000)
            platform::user_selected(*list, static_cast<std::int16_t>(entry));
}

EMSCRIPTEN_KEEPALIVE void tavrel_web_bytes_arrived()
{
    platform::reporting_errors([] {
        // Boxes share pictures: those that wait are found before any is drawn.
        std::vector<platform::PictureBox const*> waiting;
        for (platform::PictureBox const* box : backend().picture_boxes)
            if (box->Picture() && !box->Picture()->has_pixels())
                waiting.push_back(box);
        for (platform::PictureBox const* box : waiting) {
            box->Picture()->ensure_pixels();
            if (box->Picture()->has_pixels())
                show_picture(*box);
        }
    });
}

EMSCRIPTEN_KEEPALIVE int tavrel_web_tab_from(int id, int backward)
{
    Backend const& b = backend();
    if (!b.form)
        return 0;
    return platform::user_pressed_tab(*b.form, element(id), backward != 0) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int tavrel_web_tab_edge(int backward)
{
    Backend const& b = backend();
    if (!b.form)
        return -1;
    platform::Control const* edge = platform::TabRing(*b.form).step(nullptr, backward == 0);
    return edge ? id_of(*edge) : -1;
}

} // extern "C"

namespace display {

void add_label(platform::Label& label)
{
    int const id = id_of(label);
    platform::PixelPlace const p = platform::to_pixels(label.place);
    js_add_label(id, p.x, p.y, p.w, p.h, z_order(label, true), css_color(label.back_color).c_str(),
        label.centred ? 1 : 0, id == heading_label() ? 1 : 0);
    js_set_caption(id, label.Caption().c_str());
}

void add_list_box(platform::ListBox& list)
{
    int const id = id_of(list);
    platform::PixelPlace const p = platform::to_pixels(list.place);
    std::string entries;
    for (std::int16_t i = 0; i < list.ListCount(); ++i)
        entries += list.List(i) + '\x01';
    js_add_list(id, p.x, p.y, p.w, p.h, z_order(list, false), entries.c_str(), caption_label_of(list));
    js_set_selected(id, list.ListIndex());
    backend().lists.push_back(&list);
}

void add_picture_box(platform::PictureBox& box)
{
    platform::PixelPlace const p = platform::to_pixels(box.place);
    js_add_picture(id_of(box), p.x, p.y, p.w, p.h, z_order(box, false), caption_label_of(box));
    show_picture(box);
    backend().picture_boxes.push_back(&box);
}

void add_text_box(platform::TextBox& text)
{
    platform::PixelPlace const p = platform::to_pixels(text.place);
    // No caption stands over the task text: the page names it.
    js_add_text(id_of(text), p.x, p.y, p.w, p.h, z_order(text, false), text.text.c_str(), text.locked ? 1 : 0,
        "Условие на задачата");
}

void caption_changed(platform::Label& label)
{
    js_set_caption(id_of(label), label.Caption().c_str());
}

void selection_changed(platform::ListBox& list)
{
    js_set_selected(id_of(list), list.ListIndex());
}

void picture_changed(platform::PictureBox& box)
{
    show_picture(box);
}

void focus(platform::Control& control)
{
    js_focus(id_of(control), 0);
}

} // namespace display
