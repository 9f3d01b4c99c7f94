// Before the first font can be chosen, fontconfig reads its whole
// configuration, dozens of XML files: the largest single part of start-up,
// more than opening the display and reading the form together. It needs
// neither, so it runs on a second thread while they are done.
#include "fltk_backend.h"

#include <fontconfig/fontconfig.h>

#include <system_error>
#include <thread>

namespace fltk {

namespace {

std::jthread& font_setup()
{
    static std::jthread thread;
    return thread;
}

} // namespace

void start_font_setup()
{
    try {
        font_setup() = std::jthread([] { FcInit(); });
    } catch (std::system_error const&) {
        // Without a thread, fontconfig starts on the first font as usual.
    }
}

void await_font_setup()
{
    if (font_setup().joinable())
        font_setup().join();
}

} // namespace fltk
