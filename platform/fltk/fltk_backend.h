// The FLTK back end's own state, shared by its source files and by nothing
// else: the window, the widgets that stand for the control model's boxes, the
// pictures on the X server and the font set-up. Labels have no widget: the
// window paints them on its own surface, behind every box.
#pragma once

#include "platform/controls.h"

#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Editor.H>
#include <FL/Fl_Widget.H>
#include <FL/x.H>

#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class Fl_RGB_Image;

namespace fltk {

using platform::PixelPlace;

// The classic desktop's look shared by lists and the task text: white on navy
// when selected, 17 px scroll bars with a light track.
constexpr Fl_Color highlight = 0x00008000;
constexpr int scroll_bar_px = 17;
constexpr Fl_Color track_color = 0xE0E0E000;

// The window font as FLTK knows it, shared by every element.
struct FontChoice {
    Fl_Font face = FL_HELVETICA;
    Fl_Fontsize size = 14;
};

// A single-selection list: a sunken frame, the entries one per line and a
// vertical scroll bar of its own (FLTK's drops its arrows when the bar is as
// short as this list's). Every change the user makes goes through
// platform::user_selected; changes made by code arrive through sync().
class ListBoxWidget final : public Fl_Widget {
public:
    ListBoxWidget(platform::ListBox& model, PixelPlace rect, FontChoice font);
    ~ListBoxWidget() override;

    // Follows the model's selection and scrolls it into view.
    void sync();

    int handle(int event) override;
    void draw() override;

private:
    enum class Arrow { Released, Up, Down, Track };

    int item_height() const;
    int visible_count() const;
    int entry_at(int y) const;
    PixelPlace items_rect() const;
    PixelPlace bar_rect() const;
    void choose(int entry);
    bool move_by_key(int key);
    void scroll_to(int top);
    void press_arrow(Arrow arrow);
    void draw_bar();
    static void repeat_arrow(void* self);

    platform::ListBox& m_model;
    FontChoice m_font;
    int m_top = 0;
    Arrow m_pressed = Arrow::Released;
};

// A picture box without a frame: its picture drawn 1:1 from the top-left
// corner. It takes the keyboard focus but shows no mark of it.
class PictureBoxWidget final : public Fl_Widget {
public:
    PictureBoxWidget(platform::PictureBox& model, PixelPlace rect);

    int handle(int event) override;
    void draw() override;

private:
    platform::PictureBox& m_model;
};

// The task text: multi-line, word-wrapped, vertical scroll bar, read-only.
// The user may move the cursor, select and copy; every key, paste or drop
// that would change the text is swallowed.
class TextBoxWidget final : public Fl_Text_Editor {
public:
    TextBoxWidget(platform::TextBox& model, PixelPlace rect, FontChoice font);
    ~TextBoxWidget() override;

    // Shows the model's text again (its CR LF pairs as line breaks).
    void sync();

    int handle(int event) override;

private:
    void select_word(int position);
    static void modified(int pos, int inserted, int deleted, int restyled, char const* deleted_text, void* self);

    platform::TextBox& m_model;
    Fl_Text_Buffer m_buffer;
    bool m_changed = false;
};

// The top-level window. It paints the labels on its own surface, behind
// every box, and moves the focus on Tab and Shift+Tab in tab index order.
class FormWindow final : public Fl_Double_Window {
public:
    FormWindow(platform::Form& form, PixelPlace client);

    int handle(int event) override;
    void draw() override;

private:
    void draw_labels();
    static void close_requested(Fl_Widget* window, void*);

    platform::Form& m_form;
};

// A picture sent to the X server once, as a pixmap that every box showing it
// copies from: the three segment pictures start with the same one.
struct ServerPicture {
    std::weak_ptr<platform::Picture const> picture;
    Fl_Offscreen pixmap;
};

// Everything the back end owns natively, from start() until end(); the
// window owns its widgets.
struct Backend {
    Backend();
    Backend(Backend const&) = delete;
    Backend& operator=(Backend const&) = delete;
    ~Backend();

    // The widget of a visible box; null for labels and hidden elements.
    Fl_Widget* widget(platform::Control const* control) const;

    platform::Form* form = nullptr;
    FontChoice font;
    // The window font's name as FLTK keeps it: FLTK holds on to the pointer.
    std::string font_name;
    std::vector<std::uint8_t> icon_rgba;
    std::unique_ptr<Fl_RGB_Image> icon;
    std::unique_ptr<FormWindow> window;
    std::map<platform::Control const*, Fl_Widget*> widgets;
    std::map<platform::ListBox const*, ListBoxWidget*> lists;
    // Painted by the window, in creation order.
    std::vector<platform::Label const*> labels;
    std::vector<ServerPicture> server_pictures;
    // The font library's set-up, on a second thread from start() until the
    // first font is needed.
    std::jthread font_setup;
};

Backend& backend();

// Starts the font library's set-up on a second thread; every use of a font
// waits for it to end.
void start_font_setup(Backend& b);
void await_font_setup(Backend& b);
// Asks the X server what Xft must know of it before its first font, while
// the font set-up still runs.
void ask_font_rendering(Display* display);

// Sets FLTK's global options to the program's own before any widget reads
// them, so that FLTK reads and writes no preference files.
void use_own_options();

// The pixmap on the X server of a picture that has its pixels.
Fl_Offscreen server_picture(Backend& b, platform::PictureRef const& picture);

} // namespace fltk
