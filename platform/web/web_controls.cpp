// Web back end: the elements of the window, the changes the page shows and
// the user input it hands back. The elements themselves come into the page
// as markup when the window is shown (web_window.cpp); each change after
// that goes to its element.
#include "web_backend.h"

#include "platform/display.h"

#include <emscripten.h>

#include <algorithm>
#include <vector>

namespace web {

namespace {

platform::Control const* element(int id)
{
    auto const& elements = backend().layout.elements;
    return id >= 0 && id < static_cast<int>(elements.size()) ? elements[static_cast<std::size_t>(id)].control : nullptr;
}

} // namespace

int id_of(platform::Control const& control)
{
    auto const& elements = backend().layout.elements;
    auto const found
        = std::find_if(elements.begin(), elements.end(), [&](Element const& e) { return e.control == &control; });
    return found == elements.end() ? -1 : static_cast<int>(found - elements.begin());
}

void show_picture(platform::PictureBox const& box)
{
    if (!backend().made)
        return;
    int const id = id_of(box);
    platform::PictureRef const& picture = box.Picture();
    if (!picture || picture->width <= 0 || picture->height <= 0) {
        js_put_picture(id, -1, nullptr, 0, 0);
        return;
    }
    // Before the window is shown a picture may not have its pixels yet, and
    // its file may still be on its way into the page: the box stays empty,
    // never showing another picture, until the file's arrival.
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
    platform::Control const* edge = platform::tab_edge(*b.form, backward != 0);
    return edge ? id_of(*edge) : -1;
}

} // extern "C"

namespace display {

// The elements are written when the window is shown, as they stand then.
void add_label(platform::Label&) { }

void add_list_box(platform::ListBox& list)
{
    backend().lists.push_back(&list);
}

void add_picture_box(platform::PictureBox& box)
{
    backend().picture_boxes.push_back(&box);
}

void add_text_box(platform::TextBox&) { }

void caption_changed(platform::Label& label)
{
    if (backend().made)
        js_set_caption(id_of(label), label.Caption().c_str());
}

void selection_changed(platform::ListBox& list)
{
    if (backend().made)
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
