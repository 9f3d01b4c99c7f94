// Before the first font can be chosen, fontconfig reads its whole
// configuration, dozens of XML files: the longest single part of start-up,
// longer than opening the display and reading the form together. It needs
// neither, so it runs on a second thread while they are done, and the other
// set-up Xft does before its first font goes beside it.
#include "fltk_backend.h"

#include <X11/Xft/Xft.h>
#include <fontconfig/fontconfig.h>

#include <system_error>
#include <thread>

namespace fltk {

void start_font_setup(Backend& b)
{
    try {
        // Xft's FreeType library needs no display; only the first font
        // would use it, and only after this thread has ended.
        b.font_setup = std::jthread([] {
            FcInit();
            XftInitFtLibrary();
        });
    } catch (std::system_error const&) {
        // Without a thread, fontconfig starts on the first font as usual.
    }
}

void ask_font_rendering(Display* display)
{
    // Xft's answer is kept per display, so the first font finds it ready.
    XftDefaultHasRender(display);
}

void await_font_setup(Backend& b)
{
    if (b.font_setup.joinable())
        b.font_setup.join();
}

} // namespace fltk
