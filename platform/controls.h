// The control model: the window and its control arrays as plain data with the
// properties the program's code reads and writes. A display back end draws
// this model and feeds user input back into it; nothing here knows a toolkit.
#pragma once

#include "picture.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A place in twips (15 to a pixel at 96 dots per inch).
struct Place {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};
constexpr int twips_per_pixel = 15;

// A place in whole pixels; every back end converts through here, so that all
// of them round a place that is not a whole number of pixels the same way.
struct PixelPlace {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};
PixelPlace to_pixels(Place const& place);

struct Font {
    std::string name;
    std::uint16_t charset = 0;
    std::uint8_t style = 0; // 1 bold, 2 italic, 4 underline, 8 struck out
    std::uint16_t weight = 400;
    double size_points = 0;
};

// The font's height in pixels at the layout's 96 dots per inch, to the nearest
// pixel; a font without a size is taken as 12 points.
int font_pixels(Font const& font);

// 0xRRGGBB.
using Color = std::uint32_t;

enum class Kind : std::uint8_t { PictureBox, Label, TextBox, ListBox };

class Form;
class Control;
class Label;
class ListBox;
class PictureBox;

// Told of every change a back end has to show, one call per kind of change;
// the engine passes them on to the back end, and tests listen here too.
class ControlObserver {
public:
    virtual ~ControlObserver() = default;
    virtual void caption_changed(Label&) { }
    virtual void selection_changed(ListBox&) { }
    virtual void picture_changed(PictureBox&) { }
};

class Control {
public:
    Control(Form& form, Kind kind, std::string array, std::int16_t index);
    virtual ~Control() = default;
    Control(Control const&) = delete;
    Control& operator=(Control const&) = delete;

    Form& form() const { return m_form; }
    Kind kind() const { return m_kind; }
    std::string const& array() const { return m_array; }
    std::int16_t index() const { return m_index; }

    Place place;
    bool visible = true;
    std::int16_t tab_index = 0;

private:
    Form& m_form;
    Kind m_kind;
    std::string m_array;
    std::int16_t m_index;
};

class Label final : public Control {
public:
    Label(Form& form, std::string array, std::int16_t index)
        : Control(form, Kind::Label, std::move(array), index)
    { }

    std::string const& Caption() const { return m_caption; }
    void set_Caption(std::string caption);

    Color back_color = 0xFFFFFF;
    bool centred = false;

private:
    std::string m_caption;
};

class ListBox final : public Control {
public:
    ListBox(Form& form, std::string array, std::int16_t index)
        : Control(form, Kind::ListBox, std::move(array), index)
    { }

    std::int16_t ListCount() const { return static_cast<std::int16_t>(m_entries.size()); }
    // The text of entry i; the empty text for -1.
    std::string const& List(std::int16_t i) const;
    std::int16_t ListIndex() const { return m_list_index; }
    // Selects entry i (-1 selects nothing) and raises the array's click event
    // before returning, whether code or the user made the change.
    void set_ListIndex(std::int16_t i);

    void add_entry(std::string text);

private:
    std::vector<std::string> m_entries;
    std::int16_t m_list_index = -1;
};

class PictureBox final : public Control {
public:
    PictureBox(Form& form, std::string array, std::int16_t index)
        : Control(form, Kind::PictureBox, std::move(array), index)
    { }

    PictureRef const& Picture() const { return m_picture; }
    // Shares the picture object; it is never copied. Once the form shows its
    // pictures, a visible box's new picture gets its pixels here.
    void set_Picture(PictureRef picture);

    bool border = true;
    bool auto_size = false;

private:
    PictureRef m_picture;
};

class TextBox final : public Control {
public:
    TextBox(Form& form, std::string array, std::int16_t index)
        : Control(form, Kind::TextBox, std::move(array), index)
    { }

    std::string text;
    bool multi_line = false;
    std::uint8_t scroll_bars = 0; // 0 none, 1 horizontal, 2 vertical, 3 both
    bool locked = false;
};

// The window and, in creation order, its control elements.
class Form {
public:
    explicit Form(std::string name)
        : m_name(std::move(name))
    { }
    Form(Form const&) = delete;
    Form& operator=(Form const&) = delete;

    std::string const& name() const { return m_name; }

    std::string caption;
    Place client_area;
    Color back_color = 0xC0C0C0;
    std::uint8_t border_style = 2; // 1 fixed single, 2 sizable
    bool max_button = true;
    bool min_button = true;
    Font font;
    PictureRef icon;

    // Creates the next element; an element that exists already, or a negative
    // index, raises a run-time error.
    template<typename T> T& add(std::string array, std::int16_t index)
    {
        auto control = std::make_unique<T>(*this, std::move(array), index);
        T& ref = *control;
        register_element(std::move(control));
        return ref;
    }

    std::vector<std::unique_ptr<Control>> const& controls() const { return m_controls; }

    // The element of a control array; a missing element or one of another
    // kind raises a run-time error.
    Control& element(std::string_view array, std::int16_t index) const;
    template<typename T> T& element_as(std::string_view array, std::int16_t index, Kind kind) const
    {
        return static_cast<T&>(checked_kind(element(array, index), kind));
    }
    ListBox& list_box(std::string_view array, std::int16_t index) const
    {
        return element_as<ListBox>(array, index, Kind::ListBox);
    }
    Label& label(std::string_view array, std::int16_t index) const
    {
        return element_as<Label>(array, index, Kind::Label);
    }
    PictureBox& picture_box(std::string_view array, std::int16_t index) const
    {
        return element_as<PictureBox>(array, index, Kind::PictureBox);
    }

    // The program's event handlers, bound once before loading.
    std::function<void(Form&)> on_load;
    std::function<void(Form&, std::string_view array, std::int16_t index)> on_click;

    void raise_load();
    void raise_click(Control const& control);

    // Gives every picture that a visible box shows its pixels, now and from
    // now on; the start routine calls it just before the window is shown.
    void show_pictures();
    bool shows_pictures() const { return m_shows_pictures; }

    void set_observer(ControlObserver* observer) { m_observer = observer; }
    ControlObserver* observer() const { return m_observer; }

private:
    // The elements of one control array, indexed by element index.
    struct ControlArray {
        std::string name;
        std::vector<Control*> elements;
    };

    void register_element(std::unique_ptr<Control> control);
    static Control& checked_kind(Control& control, Kind kind);

    std::string m_name;
    std::vector<std::unique_ptr<Control>> m_controls;
    std::vector<ControlArray> m_arrays;
    ControlObserver* m_observer = nullptr;
    bool m_shows_pictures = false;
};

} // namespace platform
