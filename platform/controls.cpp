#include "controls.h"

#include "runtime.h"

namespace platform {

Control::Control(Form& form, Kind kind, std::string array, std::int16_t index)
    : m_form(form)
    , m_kind(kind)
    , m_array(std::move(array))
    , m_index(index)
{ }

void Control::notify()
{
    if (auto* observer = m_form.observer())
        observer->changed(*this);
}

void Label::set_Caption(std::string caption)
{
    m_caption = std::move(caption);
    notify();
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
    notify();
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
    m_picture = std::move(picture);
    notify();
}

Control& Form::element(std::string_view array, std::int16_t index) const
{
    for (auto const& control : m_controls)
        if (control->index() == index && control->array() == array)
            return *control;
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

void Form::raise_click(Control const& control)
{
    if (on_click)
        on_click(*this, control.array(), control.index());
}

} // namespace platform
