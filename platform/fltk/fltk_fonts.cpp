// Before the first font can be chosen, fontconfig reads its whole
// configuration, dozens of XML files: the largest single part of start-up,
// more than opening the display and reading the form together. It needs
// neither, so it runs on a second thread while they are done.
#include "fltk_backend.h"

#include <fontconfig/fontconfig.h>

#include <system_error>
#include <thread>

namespace fltk {

void start_font_setup(Backend& b)
{
    try {
        b.font_setup = std::jthread([] { FcInit(); });
    } catch (std::system_error const&) {
        // Without a thread, fontconfig starts on the first font as usual.
    }
}

void await_font_setup(Backend& b)
{
    if (b.font_setup.joinable())
        b.font_setup.join();
}

} // namespace fltk
