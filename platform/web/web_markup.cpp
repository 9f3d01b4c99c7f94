#include "web_markup.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>

namespace web {

namespace {

using platform::Kind;
using platform::PixelPlace;

// The nearest label above a box whose middle lies over the box names it, as
// a caption stands over its list.
int caption_of(std::vector<Element> const& elements, PixelPlace const& b)
{
    int best = -1;
    int best_bottom = -1;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (elements[i].control->kind() != Kind::Label)
            continue;
        PixelPlace const& l = elements[i].place;
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
// height) heads the window, as its title does.
int heading_of(std::vector<Element> const& elements)
{
    int best = -1;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (elements[i].control->kind() != Kind::Label)
            continue;
        PixelPlace const& l = elements[i].place;
        PixelPlace const* top = best < 0 ? nullptr : &elements[static_cast<std::size_t>(best)].place;
        if (!top || l.y < top->y || (l.y == top->y && l.w > top->w))
            best = static_cast<int>(i);
    }
    return best;
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

std::string px(int n)
{
    return std::to_string(n) + "px";
}

std::string element_id(int id)
{
    return "tavrel-" + std::to_string(id);
}

// Appends every part in turn (GCC 12 warns falsely on chains of + here).
template<typename... Parts> void put(std::string& out, Parts const&... parts)
{
    (out.append(std::string_view(parts)), ...);
}

std::string place_style(Element const& e)
{
    PixelPlace const& p = e.place;
    std::string style;
    put(style, "left:", px(p.x), ";top:", px(p.y), ";width:", px(p.w), ";height:", px(p.h),
        ";z-index:", std::to_string(e.z));
    return style;
}

// Writes the window; live, with what the running page needs, else as its
// still copy.
std::string markup(platform::Form const& form, Layout const& layout, ImageSource const* still)
{
    bool const live = still == nullptr;
    std::string out;
    auto const open = [&](char const* tag, int id, char const* cls, std::string const& style) {
        put(out, "<", tag, " class=\"", cls, "\"");
        // The page's own parts find an element as the program does, by its
        // control array's name and its index.
        if (live) {
            Element const& e = layout.elements[static_cast<std::size_t>(id)];
            put(out, " id=\"", element_id(id), "\" data-name=\"", escaped(e.control->array()), "(",
                std::to_string(e.control->index()), ")\"");
        }
        put(out, " style=\"", escaped(style), "\"");
    };
    auto const named_by = [&](Element const& e) {
        if (live && e.caption >= 0)
            put(out, " aria-labelledby=\"", element_id(e.caption), "\"");
    };
    put(out, "<div class=\"tavrel-window\"");
    if (live)
        put(out, " role=\"main\" aria-label=\"", escaped(form.caption), "\"");
    else
        put(out, " id=\"tavrel-prerendered\" inert data-size=\"", std::to_string(layout.client.w), " ",
            std::to_string(layout.client.h), "\"");
    std::string root_style;
    put(root_style, "width:", px(layout.client.w), ";height:", px(layout.client.h),
        ";background:", css_color(form.back_color), ";font-family:", css_font_family(form.font),
        ";font-size:", px(platform::font_pixels(form.font)));
    put(out, " style=\"", escaped(root_style), "\">");
    for (int id : layout.reading_order) {
        Element const& e = layout.elements[static_cast<std::size_t>(id)];
        std::string style = place_style(e);
        switch (e.control->kind()) {
        case Kind::Label: {
            auto const& label = static_cast<platform::Label const&>(*e.control);
            put(style, ";background:", css_color(label.back_color), ";text-align:", label.centred ? "center" : "left");
            open("div", id, "tavrel-label", style);
            // Only a caption the program changes is ever announced.
            if (live && e.heading)
                put(out, " role=\"heading\" aria-level=\"1\"");
            if (live)
                put(out, " aria-live=\"polite\" aria-atomic=\"true\"");
            put(out, ">", escaped(label.Caption()), "</div>");
            break;
        }
        case Kind::ListBox: {
            auto const& list = static_cast<platform::ListBox const&>(*e.control);
            // A list box, not a drop-down: the page measures its true rows later.
            open("select", id, "tavrel-list", style);
            put(out, " size=\"2\"");
            named_by(e);
            put(out, ">");
            for (std::int16_t i = 0; i < list.ListCount(); ++i)
                put(out, i == list.ListIndex() ? "<option selected>" : "<option>", escaped(list.List(i)), "</option>");
            put(out, "</select>");
            break;
        }
        case Kind::PictureBox:
            if (live) {
                open("canvas", id, "tavrel-picture", style);
                put(out, " width=\"", std::to_string(e.place.w), "\" height=\"", std::to_string(e.place.h),
                    "\" tabindex=\"0\" role=\"img\"");
                named_by(e);
                put(out, "></canvas>");
            } else { // decoded in the same frame as the rest
                open("img", id, "tavrel-picture", style);
                put(out, " alt=\"\" decoding=\"sync\" src=\"",
                    escaped((*still)(static_cast<platform::PictureBox const&>(*e.control), e.place)), "\">");
            }
            break;
        case Kind::TextBox: {
            auto const& text = static_cast<platform::TextBox const&>(*e.control);
            open("textarea", id, "tavrel-text", style);
            // No caption stands over the task text: the page names it.
            if (live)
                put(out, " aria-label=\"Условие на задачата\"");
            // The parser drops one line break right after the start tag, so
            // a text that begins with one keeps it.
            put(out, text.locked ? " readonly" : "", " spellcheck=\"false\">\n", escaped(text.text), "</textarea>");
            break;
        }
        }
    }
    put(out, "</div>");
    return out;
}

} // namespace

std::string css_color(platform::Color rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text;
}

// A CR is written as a reference, since the parser would fold it into the
// line break after it.
std::string escaped(std::string const& text)
{
    std::string out;
    for (char c : text)
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default:
            out += c;
        }
    return out;
}

Layout layout_of(platform::Form const& form)
{
    Layout layout;
    layout.client = platform::to_pixels(form.client_area);
    for (auto const& control : form.controls())
        if (control->visible)
            layout.elements.push_back({ control.get(), platform::to_pixels(control->place) });
    int const count = static_cast<int>(layout.elements.size());
    int const heading = heading_of(layout.elements);
    for (int id = 0; id < count; ++id) {
        Element& e = layout.elements[static_cast<std::size_t>(id)];
        bool const is_label = e.control->kind() == Kind::Label;
        e.z = (is_label ? 0 : count) + count - id;
        e.heading = id == heading;
        // The task text has no caption over it; the page names it.
        if (e.control->kind() == Kind::ListBox || e.control->kind() == Kind::PictureBox)
            e.caption = caption_of(layout.elements, e.place);
    }
    layout.reading_order.resize(layout.elements.size());
    for (int id = 0; id < count; ++id)
        layout.reading_order[static_cast<std::size_t>(id)] = id;
    std::stable_sort(layout.reading_order.begin(), layout.reading_order.end(), [&](int a, int b) {
        PixelPlace const& pa = layout.elements[static_cast<std::size_t>(a)].place;
        PixelPlace const& pb = layout.elements[static_cast<std::size_t>(b)].place;
        return std::pair(pa.y, pa.x) < std::pair(pb.y, pb.x);
    });
    return layout;
}

std::string live_markup(platform::Form const& form, Layout const& layout)
{
    return markup(form, layout, nullptr);
}

std::string still_markup(platform::Form const& form, Layout const& layout, ImageSource const& image_source)
{
    return markup(form, layout, &image_source);
}

std::vector<int> layout_numbers(Layout const& layout)
{
    std::vector<int> numbers;
    for (int id : layout.reading_order) {
        Element const& e = layout.elements[static_cast<std::size_t>(id)];
        int const kind = e.control->kind() == Kind::Label ? 0
            : e.control->kind() == Kind::ListBox          ? 1
            : e.control->kind() == Kind::PictureBox       ? 2
                                                          : 3;
        numbers.insert(numbers.end(), { id, kind, e.place.x, e.place.y, e.place.w, e.place.h, e.caption });
    }
    return numbers;
}

} // namespace web
