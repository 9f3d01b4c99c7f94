// The start routine and the form engine's side of the event flow: what the
// program hands to the platform, and the one way user input comes back in.
#pragma once

#include "controls.h"
#include "runtime.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <utility>

namespace platform {

// Everything the start routine needs to know of the program.
struct Project {
    // The program's name, as the error report's title.
    std::string_view name;
    // The start-up window's description, as the build packed it; it lives
    // as long as the process.
    std::span<std::uint8_t const> form_description;
    // Connects the program's event handlers to the freshly read window.
    void (*bind_handlers)(Form& form) = nullptr;
};

// Builds the start-up window from its description, raises its load event,
// shows it and dispatches input until it closes; then ends the process.
[[noreturn]] void ThunRTMain(Project const& project);

// Reports an error that nobody caught and ends the process with a non-zero
// exit code. The program's windows do not outlive the report.
[[noreturn]] void report_unhandled(rt::RuntimeError const& error);

// Reports the exception being handled; for a catch (...) block. Anything
// that is not a run-time error (out of memory and the like) is reported as a
// failed control operation, so no error ever ends the program silently.
[[noreturn]] void report_current_exception();

// Runs body and turns any error escaping it into the report: for the start
// routine, and wherever a toolkit calls back into the program, since no
// exception may travel through a toolkit's or the system's frames.
template<typename Body> decltype(auto) reporting_errors(Body&& body)
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        report_current_exception();
    }
}

// The name the error report carries: the running project's, which the start
// routine sets; empty before it.
std::string_view program_name();
void set_program_name(std::string_view name);

// Has the back end make the window and a native element for each visible
// control, in creation order, and tells it of every change from then on.
void build_window(Form& form);

// Back ends call these for user input; an error raised by a handler ends the
// program through report_unhandled, so nothing is thrown back into a toolkit.
void user_selected(ListBox& list, std::int16_t entry);
// Moves the focus where Tab (or Shift+Tab) goes from the focused element
// (null for none) through display::focus; false when nothing takes the focus.
bool user_pressed_tab(Form const& form, Control const* focused, bool backward);

// The exit code of a process ended by an unhandled run-time error.
constexpr int runtime_error_exit_code = 3;

} // namespace platform
