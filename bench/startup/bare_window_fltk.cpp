// The yardstick for the Linux program's start-up: a bare FLTK window of the
// program's client size and background that shows one line in the window
// font, "Times New Roman" 12 pt, where the program shows its route count.
#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

namespace {

class BareWindow final : public Fl_Double_Window {
public:
    BareWindow()
        : Fl_Double_Window(470, 409, "Tavrel_Oskund bare window")
    {
        color(fl_rgb_color(0xC0, 0xC0, 0xFF));
        box(FL_FLAT_BOX);
    }

    void draw() override
    {
        Fl_Double_Window::draw();
        fl_font(FL_FREE_FONT, 16);
        fl_color(FL_BLACK);
        fl_draw("1*1*1 = 1", 266, 248 + fl_height() - fl_descent());
    }
};

} // namespace

// Opened and placed as any FLTK program does it. The program's back end
// also sets up its fonts on a second thread and asks for FLTK's atoms in
// one round trip; the ratio counts what those gain with the rest.
int main()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    fl_open_display(display);
    Fl::set_font(FL_FREE_FONT, " Times New Roman");
    BareWindow window;
    window.end();
    window.position((Fl::w() - window.w()) / 2, (Fl::h() - window.h()) / 2);
    window.show();
    while (window.shown())
        Fl::wait();
    return 0;
}
