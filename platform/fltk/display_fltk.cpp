// FLTK back end (X11): the window and the four display operations. Implements
// the fixed frame (size hints and Motif hints without resize, minimise and
// maximise), the UTF-8 caption, the window icon (_NET_WM_ICON), the window
// font through Xft and fontconfig, labels painted on the window's own surface
// behind every box, front-to-back order by creation, Tab and Shift+Tab in tab
// index order, and the modal error report. Leaves out a system menu of its
// own (the window manager's is used), underlined and struck-out fonts, and
// sizable frames beyond FLTK's own resizing.
#include "widgets.h"

#include "platform/display.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Return_Button.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace fltk_display {

namespace {

class FormWindow;

class Observer final : public platform::ControlObserver {
public:
    void changed(platform::Control& control) override;
};

// Everything the back end owns natively. It lives until the process ends:
// the window closes only when the program does.
struct Backend {
    platform::Form* form = nullptr;
    FormWindow* window = nullptr;
    FontChoice font;
    std::map<platform::Control const*, Fl_Widget*> widgets;
    std::vector<Fl_Widget*> tab_order;
    std::vector<unsigned char> icon_rgba;
    Fl_RGB_Image* icon = nullptr;
    Observer observer;
};
Backend* backend = nullptr;

Fl_Color to_fl(platform::Color rgb)
{
    return fl_rgb_color(
        static_cast<uchar>(rgb >> 16 & 0xFF), static_cast<uchar>(rgb >> 8 & 0xFF), static_cast<uchar>(rgb & 0xFF));
}

// Motif window-manager hints, as window managers read them.
enum : unsigned long {
    mwm_hints_functions = 1,
    mwm_hints_decorations = 2,
    mwm_func_resize = 2,
    mwm_func_move = 4,
    mwm_func_minimize = 8,
    mwm_func_maximize = 16,
    mwm_func_close = 32,
    mwm_decor_border = 2,
    mwm_decor_resizeh = 4,
    mwm_decor_title = 8,
    mwm_decor_menu = 16,
    mwm_decor_minimize = 32,
    mwm_decor_maximize = 64,
};

class FormWindow final : public Fl_Double_Window {
public:
    FormWindow(platform::Form& form, PixelRect client)
        : Fl_Double_Window(client.w, client.h)
        , m_form(form)
    {
        color(to_fl(form.back_color));
        box(FL_FLAT_BOX);
        callback(close_requested);
    }

    int handle(int event) override
    {
        if (event == FL_KEYBOARD && Fl::event_key() == FL_Tab && !(Fl::event_state() & (FL_CTRL | FL_ALT | FL_META))) {
            move_focus((Fl::event_state() & FL_SHIFT) != 0);
            return 1;
        }
        // Keys no element wanted stop here: FLTK would otherwise move the
        // focus with the arrow keys, which no Windows dialog does.
        if (event == FL_KEYBOARD)
            return 0;
        return Fl_Double_Window::handle(event);
    }

    void draw() override
    {
        if (damage() & ~FL_DAMAGE_CHILD) {
            fl_color(color());
            fl_rectf(0, 0, w(), h());
            draw_labels();
        }
        draw_children();
    }

private:
    // Later labels first, so that of two overlapping labels the earlier-created
    // one ends up in front.
    void draw_labels()
    {
        auto const& controls = m_form.controls();
        fl_font(backend->font.face, backend->font.size);
        for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
            if ((*it)->kind() != platform::Kind::Label || !(*it)->visible)
                continue;
            auto const& label = static_cast<platform::Label const&>(**it);
            PixelRect const r = pixel_rect(label.place);
            fl_color(to_fl(label.back_color));
            fl_rectf(r.x, r.y, r.w, r.h);
            fl_push_clip(r.x, r.y, r.w, r.h);
            fl_color(FL_BLACK);
            int const baseline = r.y + fl_height() - fl_descent();
            std::string const& text = label.Caption();
            int const width = static_cast<int>(std::lround(fl_width(text.c_str(), static_cast<int>(text.size()))));
            int const left = label.centred ? r.x + (r.w - width) / 2 : r.x;
            fl_draw(text.c_str(), static_cast<int>(text.size()), left, baseline);
            fl_pop_clip();
        }
    }

    void move_focus(bool backward)
    {
        auto const& order = backend->tab_order;
        if (order.empty())
            return;
        int const count = static_cast<int>(order.size());
        int current = -1;
        for (int i = 0; i < count; ++i)
            if (order[static_cast<std::size_t>(i)]->contains(Fl::focus()))
                current = i;
        int next = current < 0 ? (backward ? count - 1 : 0) : (current + (backward ? count - 1 : 1)) % count;
        order[static_cast<std::size_t>(next)]->take_focus();
    }

    // Escape must not close a desktop program's main window; the close button must.
    static void close_requested(Fl_Widget* window, void*)
    {
        if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape)
            return;
        window->hide();
    }

    platform::Form& m_form;
};

void Observer::changed(platform::Control& control)
{
    if (!backend || !backend->window)
        return;
    if (control.kind() == platform::Kind::Label) {
        PixelRect const r = pixel_rect(control.place);
        backend->window->damage(FL_DAMAGE_ALL, r.x, r.y, r.w, r.h);
        return;
    }
    auto const found = backend->widgets.find(&control);
    if (found == backend->widgets.end())
        return; // a hidden box has nothing to show
    switch (control.kind()) {
    case platform::Kind::ListBox:
        static_cast<ListBoxWidget*>(found->second)->sync();
        break;
    case platform::Kind::TextBox:
        static_cast<TextBoxWidget*>(found->second)->sync();
        break;
    default:
        found->second->redraw();
        break;
    }
}

void ensure_display()
{
    if (fl_display)
        return;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        rt::raise(rt::ErrorCode::ControlOperationFailed, "FLTK: cannot open the X display");
    fl_open_display(display);
}

// Xft takes the font name through fontconfig, which maps "Times New Roman" to
// a metric twin such as Liberation Serif where the original is missing. The
// first character of an FLTK font name is its style.
FontChoice choose_font(platform::Font const& font)
{
    static std::string name;
    if (font.name.empty())
        return { FL_TIMES, 16 };
    bool const bold = (font.style & 1) != 0 || font.weight >= 600;
    bool const italic = (font.style & 2) != 0;
    name = std::string(1, bold && italic ? 'P' : bold ? 'B' : italic ? 'I' : ' ') + font.name;
    Fl::set_font(FL_FREE_FONT, name.c_str());
    double const points = font.size_points > 0 ? font.size_points : 12.0;
    return { FL_FREE_FONT, static_cast<Fl_Fontsize>(std::lround(points * 96.0 / 72.0)) };
}

void set_icon(platform::Picture const& picture)
{
    if (picture.width <= 0 || picture.height <= 0)
        return;
    backend->icon_rgba.clear();
    backend->icon_rgba.reserve(picture.pixels.size() * 4);
    for (std::uint32_t argb : picture.pixels)
        for (int shift : { 16, 8, 0, 24 })
            backend->icon_rgba.push_back(static_cast<unsigned char>(argb >> shift));
    backend->icon = new Fl_RGB_Image(backend->icon_rgba.data(), picture.width, picture.height, 4);
    backend->window->icon(backend->icon);
}

Fl_Widget* make_widget(platform::Control& control)
{
    PixelRect const r = pixel_rect(control.place);
    switch (control.kind()) {
    case platform::Kind::ListBox:
        return new ListBoxWidget(static_cast<platform::ListBox&>(control), r, backend->font);
    case platform::Kind::PictureBox:
        return new PictureBoxWidget(static_cast<platform::PictureBox&>(control), r);
    case platform::Kind::TextBox:
        return new TextBoxWidget(static_cast<platform::TextBox&>(control), r, backend->font);
    case platform::Kind::Label:
        break;
    }
    return nullptr;
}

// FLTK's own hints allow minimising; the form's frame settings decide here.
void set_frame_hints(platform::Form const& form)
{
    unsigned long functions = mwm_func_move | mwm_func_close;
    unsigned long decorations = mwm_decor_border | mwm_decor_title | mwm_decor_menu;
    if (form.border_style != 1) {
        functions |= mwm_func_resize;
        decorations |= mwm_decor_resizeh;
    }
    if (form.min_button) {
        functions |= mwm_func_minimize;
        decorations |= mwm_decor_minimize;
    }
    if (form.max_button) {
        functions |= mwm_func_maximize;
        decorations |= mwm_decor_maximize;
    }
    long hints[5] = { static_cast<long>(mwm_hints_functions | mwm_hints_decorations), static_cast<long>(functions),
        static_cast<long>(decorations), 0, 0 };
    Atom const motif = XInternAtom(fl_display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(fl_display, fl_xid(backend->window), motif, motif, 32, PropModeReplace,
        reinterpret_cast<unsigned char*>(hints), 5);
}

// A message box as the desktop shows one: the program's name as its title, a
// warning sign, the text, and OK, which Return, Escape and the close button
// all answer. It is modal and returns once dismissed.
void show_report(std::string const& text)
{
    FontChoice const font = backend ? backend->font : FontChoice { FL_TIMES, 16 };
    fl_font(font.face, font.size);
    int text_w = 0, text_h = 0;
    fl_measure(text.c_str(), text_w, text_h, 0);
    int const w = std::max(280, 80 + text_w + 20);
    int const h = std::max(60, text_h) + 70;
    Fl_Window dialog(w, h, "Tavrel_Oskund");
    Fl_Box sign(15, 15, 44, 44, "!");
    sign.box(FL_THIN_UP_BOX);
    sign.color(FL_WHITE);
    sign.labelfont(FL_TIMES_BOLD);
    sign.labelsize(34);
    sign.labelcolor(FL_BLUE);
    Fl_Box message(80, 15, w - 100, h - 70, text.c_str());
    message.align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE);
    message.labelfont(font.face);
    message.labelsize(font.size);
    Fl_Return_Button ok((w - 90) / 2, h - 40, 90, 26, "OK");
    ok.labelfont(font.face);
    ok.labelsize(font.size);
    ok.callback([](Fl_Widget* button, void*) { button->window()->hide(); });
    dialog.end();
    dialog.set_modal();
    dialog.position(std::max(0, (Fl::w() - w) / 2), std::max(0, (Fl::h() - h) / 2));
    dialog.show();
    ok.take_focus();
    while (dialog.shown())
        Fl::wait();
}

} // namespace

} // namespace fltk_display

namespace display {

using namespace fltk_display;

void open(platform::Form& form)
{
    ensure_display();
    PixelRect const client = pixel_rect(form.client_area);
    if (client.w <= 0 || client.h <= 0)
        rt::raise(rt::ErrorCode::InvalidPropertyValue, "FLTK: the window has no client area");
    // Dragging text out of or into the read-only task text would edit it.
    Fl::dnd_text_ops(0);

    backend = new Backend;
    backend->form = &form;
    backend->font = choose_font(form.font);
    backend->window = new FormWindow(form, client);
    FormWindow& window = *backend->window;
    window.copy_label(form.caption.c_str());
    window.xclass(form.name().c_str());
    if (form.border_style == 1)
        window.size_range(client.w, client.h, client.w, client.h);
    else
        window.size_range(1, 1);
    if (form.icon)
        set_icon(*form.icon);

    // FLTK draws later children in front, and the earlier-created box must lie
    // in front: add the boxes in reverse creation order.
    window.begin();
    auto const& controls = form.controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        if ((*it)->visible)
            if (Fl_Widget* widget = make_widget(**it))
                backend->widgets[it->get()] = widget;
    window.end();

    std::vector<platform::Control const*> focusable;
    for (auto const& control : controls)
        if (backend->widgets.count(control.get()))
            focusable.push_back(control.get());
    std::stable_sort(
        focusable.begin(), focusable.end(), [](auto const* a, auto const* b) { return a->tab_index < b->tab_index; });
    for (auto const* control : focusable)
        backend->tab_order.push_back(backend->widgets[control]);

    form.set_observer(&backend->observer);
}

void show(platform::Form&)
{
    FormWindow& window = *backend->window;
    window.position(std::max(0, (Fl::w() - window.w()) / 2), std::max(0, (Fl::h() - window.h()) / 2));
    window.show();
    // Still before the map request leaves the client, so a window manager sees
    // these hints when it first frames the window.
    set_frame_hints(*backend->form);
    if (!backend->tab_order.empty())
        backend->tab_order.front()->take_focus();
}

void run(platform::Form&)
{
    while (backend && backend->window->shown())
        Fl::wait();
}

void report(rt::RuntimeError const& error)
{
    if (!fl_display) {
        Display* display = XOpenDisplay(nullptr);
        if (!display)
            return; // the engine has written the error to stderr already
        fl_open_display(display);
    }
    // The window does not outlive the error: only the report stays up.
    if (backend && backend->window)
        backend->window->hide();
    std::string text = "Грешка при изпълнение '" + std::to_string(error.number()) + "':\n\n";
    text += error.description();
    if (!error.detail().empty())
        text += "\n(" + error.detail() + ")";
    show_report(text);
}

} // namespace display
