// The web back end's own state, shared by its source files and by nothing
// else, and every call between its two halves: the C++ below, and the
// JavaScript (web_window.js) that puts the window into the page and hands
// user input back. An element's id is its position among the form's visible
// controls, in creation order, in C++ and in the page alike.
#pragma once

#include "web_markup.h"

#include "platform/controls.h"

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace web {

// Everything the back end owns, from open_window() until the page closes.
struct Backend {
    platform::Form* form = nullptr;
    // The window's elements, their places and names.
    Layout layout;
    // Whether the page has the window's elements: changes before then are in
    // the markup they are made from.
    bool made = false;
    // The list boxes and picture boxes, in creation order.
    std::vector<platform::ListBox*> lists;
    std::vector<platform::PictureBox*> picture_boxes;
    // Each picture goes to the page once; holding it keeps its id unique.
    std::map<platform::Picture const*, std::pair<platform::PictureRef, int>> pictures;
};

Backend& backend();

// The element's id; -1 for a control that has no element.
int id_of(platform::Control const& control);

// Draws the box's picture, once it has its pixels.
void show_picture(platform::PictureBox const& box);

} // namespace web

// C++ to JavaScript: defined with EM_JS in web_window.cpp, each the call of
// the Tavrel.window function of the like name. Texts are UTF-8, places and
// sizes pixels.
extern "C" {
void js_set_title(char const* title);
void js_set_icon(std::uint8_t const* rgba, int w, int h);
// The window from its markup; numbers: seven per element, as
// web::layout_numbers() writes them.
void js_make_window(char const* markup, int const* numbers, int count, int w, int h);
void js_set_caption(int id, char const* text);
void js_set_selected(int id, int entry);
// Draws picture number `picture` in element id; rgba is its pixels the first
// time, null after that; -1 clears the element.
void js_put_picture(int id, int picture, std::uint8_t const* rgba, int w, int h);
// Clears element id, which waits for its picture's file to arrive.
void js_wait_picture(int id);
// Whether the bytes of [at, at + size) are in memory yet (see the page's
// description blocks): 1 or 0.
int js_file_arrived(std::uint8_t const* at, int size);
// quiet: without the mark of a focus the keyboard moved.
void js_focus(int id, int quiet);
// The window is whole: fitted to the viewport, then focused on element
// focus_id (-1 for none).
void js_show_window(int focus_id);
void js_report(char const* title, char const* text, char const* button, char const* ended);
}

// JavaScript to C++, for user input; defined in web_controls.cpp.
extern "C" {
// More of the window description has arrived in memory: the boxes that wait
// for it are drawn.
void tavrel_web_bytes_arrived();
// The user selected an entry of list box id.
void tavrel_web_list_selected(int id, int entry);
// Moves the focus as Tab (or Shift+Tab) does from element id (-1 for none);
// 1 when the focus moved, 0 when nothing in the window takes it.
int tavrel_web_tab_from(int id, int backward);
// The element that Tab (or Shift+Tab) leaves the window's ring from: its
// last (or first); -1 for none.
int tavrel_web_tab_edge(int backward);
}
