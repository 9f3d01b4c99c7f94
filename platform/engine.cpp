#include "engine.h"

#include "display.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {

void report_unhandled(rt::RuntimeError const& error)
{
    std::string const line = "Tavrel_Oskund: грешка " + std::to_string(error.number()) + ": " + error.what() + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    display::report(error);
    std::_Exit(runtime_error_exit_code);
}

void user_selected(ListBox& list, std::int16_t entry)
{
    try {
        list.set_ListIndex(entry);
    } catch (rt::RuntimeError const& error) {
        report_unhandled(error);
    }
}

} // namespace platform
