// The window as the page's markup, written once for both of its uses: the
// live window, which the web back end puts into the page, and the still copy
// of its start that the build writes into the page's markup, so that the
// browser shows it from the parse. Plain C++ with no browser: the build
// machine runs it too.
#pragma once

#include "platform/controls.h"

#include <functional>
#include <string>
#include <vector>

namespace web {

// What the page knows of each element, by id: the element's id is its
// position among the form's visible controls, in creation order.
struct Element {
    platform::Control const* control = nullptr;
    platform::PixelPlace place;
    // Earlier-created boxes in front of later ones, every box in front of
    // every label.
    int z = 0;
    // The label that names the element for assistive technology; -1 for none.
    int caption = -1;
    // Whether the label heads the window for a reader of the page.
    bool heading = false;
};

struct Layout {
    platform::PixelPlace client;
    std::vector<Element> elements;
    // The ids top to bottom and left to right, as the window looks: the
    // order of the markup, and of a screen reader's linear reading.
    std::vector<int> reading_order;
};

Layout layout_of(platform::Form const& form);

// What the page says under the error report's button, and once the report is
// dismissed.
inline constexpr char report_button[] = "OK";
inline constexpr char ended_text[] = "Програмата завърши след грешка при изпълнение.";

// Text as markup: in an attribute or an element alike, always as text.
std::string escaped(std::string const& text);

// The colour as CSS writes it, #RRGGBB.
std::string css_color(platform::Color rgb);

// The live window: ids and names for assistive technology, and an empty
// canvas for each picture box, which the page draws on.
std::string live_markup(platform::Form const& form, Layout const& layout);

// The still copy of the window: no ids or names (the live window takes its
// place), inert, each picture box an image; image_source gives the address
// of a box's image (a data: address of what the box shows).
using ImageSource = std::function<std::string(platform::PictureBox const& box, platform::PixelPlace const& place)>;
std::string still_markup(platform::Form const& form, Layout const& layout, ImageSource const& image_source);

// The numbers the page keeps of each element in the live markup's order,
// seven a element: id, kind (0 label, 1 list, 2 picture, 3 text), x, y, w,
// h, the id of its caption label (-1 for none).
std::vector<int> layout_numbers(Layout const& layout);

} // namespace web
