// FLTK back end (X11): the window, its event loop and the error report. Implements
// the fixed frame (size hints and Motif hints without resize, minimise and
// maximise), the UTF-8 caption, the window icon (_NET_WM_ICON), the window
// font through Xft and fontconfig, labels painted on the window's own surface
// behind every box, front-to-back order by creation, Tab and Shift+Tab in tab
// index order, and the modal error report. Leaves out a system menu of its
// own (the window manager's is used), underlined and struck-out fonts, and
// sizable frames beyond FLTK's own resizing.
#include "fltk_backend.h"

#include "platform/display.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Return_Button.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>

namespace fltk {

namespace {

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

} // namespace

FormWindow::FormWindow(platform::Form& form, PixelPlace client)
    : Fl_Double_Window(client.w, client.h)
    , m_form(form)
{
    color(to_fl(form.back_color));
    box(FL_FLAT_BOX);
    callback(close_requested);
}

int FormWindow::handle(int event)
{
    if (event == FL_KEYBOARD && Fl::event_key() == FL_Tab && !(Fl::event_state() & (FL_CTRL | FL_ALT | FL_META))) {
        platform::Control const* focused = nullptr;
        for (auto const& [control, widget] : backend().widgets)
            if (widget->contains(Fl::focus()))
                focused = control;
        platform::user_pressed_tab(m_form, focused, (Fl::event_state() & FL_SHIFT) != 0);
        return 1;
    }
    // Keys no element wanted stop here: FLTK would otherwise move the
    // focus with the arrow keys, which no Windows dialog does.
    if (event == FL_KEYBOARD)
        return 0;
    return Fl_Double_Window::handle(event);
}

void FormWindow::draw()
{
    if (damage() & ~FL_DAMAGE_CHILD) {
        fl_color(color());
        fl_rectf(0, 0, w(), h());
        draw_labels();
    }
    draw_children();
}

// Later labels first, so that of two overlapping labels the earlier-created
// one ends up in front.
void FormWindow::draw_labels()
{
    Backend const& b = backend();
    fl_font(b.font.face, b.font.size);
    for (auto it = b.labels.rbegin(); it != b.labels.rend(); ++it) {
        platform::Label const& label = **it;
        PixelPlace const r = platform::to_pixels(label.place);
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

// Escape must not close a desktop program's main window; the close button must.
void FormWindow::close_requested(Fl_Widget* window, void*)
{
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape)
        return;
    window->hide();
}

Backend& backend()
{
    static Backend instance;
    return instance;
}

Backend::Backend() = default;
Backend::~Backend() = default;

Fl_Widget* Backend::widget(platform::Control const* control) const
{
    auto const found = widgets.find(control);
    return found == widgets.end() ? nullptr : found->second;
}

namespace {

// FLTK 1.3 asks for each of these atoms on its own as it opens the display
// and shows a window: some forty round trips to the X server, more than half
// of all the start-up makes, and each one a wait that grows with the
// distance to the server (a thin client's network). Asked for together, they
// cost one; Xlib then answers FLTK's questions from its atom cache. A name
// FLTK no longer asks for costs nothing but a few bytes.
void intern_toolkit_atoms(Display* display)
{
    static char const* const names[] = { "WM_DELETE_WINDOW", "WM_PROTOCOLS", "_MOTIF_WM_HINTS", "TARGETS", "CLIPBOARD",
        "TIMESTAMP", "PRIMARY_TIMESTAMP", "CLIPBOARD_TIMESTAMP", "XdndAware", "XdndSelection", "XdndEnter",
        "XdndTypeList", "XdndPosition", "XdndLeave", "XdndDrop", "XdndStatus", "XdndActionCopy", "XdndFinished",
        "text/uri-list", "text/plain;charset=UTF-8", "text/plain;charset=utf-8", "text/plain", "TEXT", "COMPOUND_TEXT",
        "UTF8_STRING", "image/bmp", "image/png", "INCR", "_NET_WM_PID", "_NET_WM_NAME", "_NET_WM_ICON_NAME",
        "_NET_SUPPORTING_WM_CHECK", "_NET_WM_STATE", "_NET_WM_STATE_FULLSCREEN", "_NET_WM_FULLSCREEN_MONITORS",
        "_NET_WORKAREA", "_NET_WM_ICON", "_NET_ACTIVE_WINDOW", "WM_LOCALE_NAME" };
    std::array<Atom, std::size(names)> atoms {};
    XInternAtoms(display, const_cast<char**>(names), static_cast<int>(atoms.size()), False, atoms.data());
}

// Whether the X display is open, opening it if not.
bool display_open()
{
    if (fl_display)
        return true;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    intern_toolkit_atoms(display);
    fl_open_display(display);
    return true;
}

// Xft takes the font name through fontconfig, which maps "Times New Roman" to
// a metric twin such as Liberation Serif where the original is missing. The
// first character of an FLTK font name is its style.
FontChoice choose_font(Backend& b, platform::Font const& font)
{
    Fl_Fontsize const size = platform::font_pixels(font);
    if (font.name.empty())
        return { FL_TIMES, size };
    bool const bold = (font.style & 1) != 0 || font.weight >= 600;
    bool const italic = (font.style & 2) != 0;
    // FIXME: underlined and struck-out fonts come out plain; FLTK 1.3 fonts have no such styles.
    b.font_name = std::string(1, bold && italic ? 'P' : bold ? 'B' : italic ? 'I' : ' ') + font.name;
    Fl::set_font(FL_FREE_FONT, b.font_name.c_str());
    return { FL_FREE_FONT, size };
}

void set_icon(Backend& b, platform::Picture const& picture)
{
    if (!picture.has_pixels())
        return;
    b.icon_rgba = platform::rgba_bytes(picture);
    b.icon = std::make_unique<Fl_RGB_Image>(b.icon_rgba.data(), picture.width, picture.height, 4);
    b.window->icon(b.icon.get());
}

// FLTK's own hints allow minimising; the form's frame settings decide here.
void set_frame_hints(Fl_Window const& window, platform::Form const& form)
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
    XChangeProperty(
        fl_display, fl_xid(&window), motif, motif, 32, PropModeReplace, reinterpret_cast<unsigned char*>(hints), 5);
}

// A message box as the desktop shows one: the title, a warning sign, the
// text, and OK, which Return, Escape and the close button all answer. It is
// modal and returns once dismissed.
void show_report(FontChoice font, std::string const& title, std::string const& text)
{
    fl_font(font.face, font.size);
    int text_w = 0, text_h = 0;
    fl_measure(text.c_str(), text_w, text_h, 0);
    int const w = std::max(280, 80 + text_w + 20);
    int const h = std::max(60, text_h) + 70;
    Fl_Window dialog(w, h, title.c_str());
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

} // namespace fltk

namespace display {

using namespace fltk;

void start()
{
    // The font set-up is the longest part of start-up: it goes first, and the
    // display is opened while it runs, before the form is read.
    start_font_setup(backend());
    use_own_options();
    if (display_open())
        ask_font_rendering(fl_display);
}

void open_window(platform::Form& form)
{
    if (!display_open())
        rt::raise(rt::ErrorCode::ControlOperationFailed, "FLTK: cannot open the X display");
    PixelPlace const client = platform::to_pixels(form.client_area);
    if (client.w <= 0 || client.h <= 0)
        rt::raise(rt::ErrorCode::InvalidPropertyValue, "FLTK: the window has no client area");

    Backend& b = backend();
    b.form = &form;
    b.font = choose_font(b, form.font);
    b.window = std::make_unique<FormWindow>(form, client);
    FormWindow& window = *b.window;
    window.end();
    window.copy_label(form.caption.c_str());
    window.xclass(form.name().c_str());
    if (form.border_style == 1)
        window.size_range(client.w, client.h, client.w, client.h);
    else
        window.size_range(1, 1);
    if (form.icon)
        set_icon(b, *form.icon);
    // The elements that follow measure text in the window font. Made the
    // current font first: FLTK measures another font by switching to it and
    // back, and the way back from no font at all opens a font of its own.
    await_font_setup(b);
    fl_font(b.font.face, b.font.size);
}

void show(platform::Form& form, platform::Control* first_focus)
{
    Backend& b = backend();
    FormWindow& window = *b.window;
    window.position(std::max(0, (Fl::w() - window.w()) / 2), std::max(0, (Fl::h() - window.h()) / 2));
    window.show();
    // Still before the map request leaves the client, so a window manager sees
    // these hints when it first frames the window.
    set_frame_hints(window, form);
    if (Fl_Widget* first = b.widget(first_focus))
        first->take_focus();
}

void run(platform::Form&)
{
    Backend const& b = backend();
    while (b.window && b.window->shown())
        Fl::wait();
}

void end()
{
    Backend& b = backend();
    for (ServerPicture const& picture : b.server_pictures)
        fl_delete_offscreen(picture.pixmap);
    b.server_pictures.clear();
    b.widgets.clear();
    b.lists.clear();
    b.labels.clear();
    b.window.reset();
    b.form = nullptr;
}

void report(platform::ErrorReport const& report)
{
    if (!display_open())
        return; // stderr has the error already, written by the engine
    // The window does not outlive the error: only the report stays up.
    Backend& b = backend();
    if (b.window)
        b.window->hide();
    await_font_setup(b);
    show_report(b.window ? b.font : choose_font(b, {}), report.title, report.text);
}

} // namespace display
