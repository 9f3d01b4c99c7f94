// The window as the user must see it, in client-area pixels: every visible
// element's place and colour, in creation order. Of two overlapping boxes the
// earlier one lies in front; labels lie behind every box.
#pragma once

#include "image.h"

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace e2e {

enum class Shape { Label, ListBox, PictureBox, TextBox };

struct Element {
    std::string_view name;
    Shape shape;
    Rect place;
    Rgb colour = 0; // labels only
};

constexpr Rgb window_colour = 0xC0C0FF;
constexpr Rgb caption_colour = 0xFFC080;
constexpr Rgb route_count_colour = 0xFFE0C0;
constexpr int client_width = 470;
constexpr int client_height = 409;

constexpr std::array<Element, 13> elements { {
    { "Text1(0)", Shape::TextBox, { 8, 288, 449, 113 } },
    { "List1(2)", Shape::ListBox, { 344, 56, 57, 42 } },
    { "List1(1)", Shape::ListBox, { 208, 56, 57, 42 } },
    { "List1(0)", Shape::ListBox, { 72, 56, 57, 42 } },
    { "Picture1(2)", Shape::PictureBox, { 297, 96, 150, 150 } },
    { "Picture1(1)", Shape::PictureBox, { 161, 96, 150, 150 } },
    { "Picture1(0)", Shape::PictureBox, { 24, 96, 150, 150 } },
    { "Label1(5)", Shape::Label, { 128, 248, 121, 25 }, caption_colour },
    { "Label1(4)", Shape::Label, { 344, 32, 57, 25 }, caption_colour },
    { "Label1(3)", Shape::Label, { 208, 32, 57, 25 }, caption_colour },
    { "Label1(2)", Shape::Label, { 72, 32, 57, 25 }, caption_colour },
    { "Label1(1)", Shape::Label, { 248, 248, 89, 25 }, route_count_colour },
    { "Label1(0)", Shape::Label, { 56, 0, 385, 25 }, caption_colour },
} };

// The element seen at a pixel, or nothing where the window's background shows.
inline std::optional<Element> element_at(int x, int y)
{
    for (auto const& element : elements) // boxes come first, then labels, each front to back
        if (element.place.contains(x, y))
            return element;
    return std::nullopt;
}

inline Element const& element(std::string_view name)
{
    for (auto const& e : elements)
        if (e.name == name)
            return e;
    throw std::out_of_range("no element " + std::string(name));
}

// Segment selector i and segment picture i, i = 0 (A-B), 1 (B-C), 2 (C-D).
inline Rect selector(int i)
{
    return elements[static_cast<std::size_t>(3 - i)].place;
}
inline Rect segment_picture(int i)
{
    return elements[static_cast<std::size_t>(6 - i)].place;
}
inline std::string_view segment_picture_name(int i)
{
    return elements[static_cast<std::size_t>(6 - i)].name;
}

} // namespace e2e
