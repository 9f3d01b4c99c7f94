#include "engine.h"

#include "display.h"
#include "error_report.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {

namespace {

// Set once by the start routine; a report made before it carries no name.
std::string running_program;

} // namespace

std::string_view program_name()
{
    return running_program;
}

void set_program_name(std::string_view name)
{
    running_program = name;
}

void report_unhandled(rt::RuntimeError const& error)
{
    ErrorReport const report = error_report(program_name(), error);
    std::fputs(report.line.c_str(), stderr);
    std::fflush(stderr);
    display::report(report);
    std::_Exit(runtime_error_exit_code);
}

void report_current_exception()
{
    try {
        throw;
    } catch (rt::RuntimeError const& error) {
        report_unhandled(error);
    } catch (std::exception const& error) {
        report_unhandled(rt::RuntimeError(rt::ErrorCode::ControlOperationFailed, error.what()));
    } catch (...) {
        report_unhandled(rt::RuntimeError(rt::ErrorCode::ControlOperationFailed, "an unknown exception"));
    }
}

void user_selected(ListBox& list, std::int16_t entry)
{
    // Native lists differ on whether choosing the selected entry again counts
    // as a change; here it never does, so every back end raises the same events.
    if (entry == list.ListIndex())
        return;
    reporting_errors([&] { list.set_ListIndex(entry); });
}

} // namespace platform
