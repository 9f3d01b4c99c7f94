#include "controls.h"

#include "runtime.h"

#include <algorithm>
#include <cmath>

namespace platform {

PixelPlace to_pixels(Place const& place)
{
    // Nearest pixel, halves away from zero.
    auto const px = [](std::int32_t twips) {
        std::int64_t const t = twips;
        return static_cast<int>(
            t >= 0 ? (t + twips_per_pixel / 2) / twips_per_pixel : -((-t + twips_per_pixel / 2) / twips_per_pixel));
    };
    return { px(place.left), px(place.top), px(place.width), px(place.height) };
}

int font_pixels(Font const& font)
{
    double const points = font.size_points > 0 ? font.size_points : 12.0;
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

Control::Control(Form& form, Kind kind, std::string array, std::int16_t index)
    : m_form(form)
    , m_kind(kind)
    , m_array(std::move(array))
    , m_index(index)
{ }

void Label::set_Caption(std::string caption)
{
    m_caption = std::move(caption);
    if (auto* observer = form().observer())
        observer->caption_changed(*this);
}

std::string const& ListBox::List(std::int16_t i) const
{
    static std::string const empty;
    if (i == -1)
        return empty;
    if (i < 0 || i >= ListCount())
        rt::raise(rt::ErrorCode::InvalidPropertyValue, "no list entry " + std::to_string(i) + " in " + array());
    return m_entries[static_cast<std::size_t>(i)];
}

void ListBox::set_ListIndex(std::int16_t i)
{
    if (i < -1 || i >= ListCount())
        rt::raise(rt::ErrorCode::InvalidPropertyValue,
            "ListIndex " + std::to_string(i) + " outside the entries of " + array());
    m_list_index = i;
    if (auto* observer = form().observer())
        observer->selection_changed(*this);
    form().raise_click(*this);
}

void ListBox::add_entry(std::string text)
{
    if (m_entries.size() >= 32767)
        rt::raise(rt::ErrorCode::InvalidCall, "too many list entries");
    m_entries.push_back(std::move(text));
}

void PictureBox::set_Picture(PictureRef picture)
{
    if (picture && visible && form().shows_pictures())
        picture->ensure_pixels();
    m_picture = std::move(picture);
    if (auto* observer = form().observer())
        observer->picture_changed(*this);
}

void Form::register_element(std::unique_ptr<Control> control)
{
    auto const index = control->index();
    if (index < 0)
        rt::raise(rt::ErrorCode::InvalidCall, "negative element index for " + control->array());
    auto found = std::find_if(
        m_arrays.begin(), m_arrays.end(), [&](ControlArray const& a) { return a.name == control->array(); });
    if (found == m_arrays.end())
        found = m_arrays.insert(m_arrays.end(), ControlArray { control->array(), {} });
    auto& elements = found->elements;
    if (elements.size() <= static_cast<std::size_t>(index))
        elements.resize(static_cast<std::size_t>(index) + 1, nullptr);
    if (elements[static_cast<std::size_t>(index)] != nullptr)
        rt::raise(rt::ErrorCode::InvalidCall, control->array() + "(" + std::to_string(index) + ") exists already");
    elements[static_cast<std::size_t>(index)] = control.get();
    m_controls.push_back(std::move(control));
}

Control& Form::element(std::string_view array, std::int16_t index) const
{
    // A handful of arrays: a linear search by name beats hashing here.
    for (auto const& a : m_arrays)
        if (a.name == array && index >= 0 && static_cast<std::size_t>(index) < a.elements.size()
            && a.elements[static_cast<std::size_t>(index)] != nullptr)
            return *a.elements[static_cast<std::size_t>(index)];
    rt::raise(rt::ErrorCode::ControlElementMissing, std::string(array) + "(" + std::to_string(index) + ")");
}

Control& Form::checked_kind(Control& control, Kind kind)
{
    if (control.kind() != kind)
        rt::raise(rt::ErrorCode::TypeMismatch,
            control.array() + "(" + std::to_string(control.index()) + ") is another kind of control");
    return control;
}

void Form::raise_load()
{
    if (on_load)
        on_load(*this);
}

void Form::show_pictures()
{
    m_shows_pictures = true;
    for (auto const& control : m_controls)
        if (control->kind() == Kind::PictureBox && control->visible)
            if (auto const& picture = static_cast<PictureBox const&>(*control).Picture())
                picture->ensure_pixels();
}

void Form::raise_click(Control const& control)
{
    if (on_click)
        on_click(*this, control.array(), control.index());
}

} // namespace platform
