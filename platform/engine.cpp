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
    // Native lists differ on whether choosing the selected entry again counts
    // as a change; here it never does, so every back end raises the same events.
    if (entry == list.ListIndex())
        return;
    try {
        list.set_ListIndex(entry);
    } catch (rt::RuntimeError const& error) {
        report_unhandled(error);
    } catch (std::exception const& error) {
        report_unhandled(rt::RuntimeError(rt::ErrorCode::ControlOperationFailed, error.what()));
    }
}

} // namespace platform
