// The start routine and the form engine's side of the event flow: what the
// program hands to the platform, and the one way user input comes back in.
#pragma once

#include "controls.h"
#include "runtime.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

// Everything the start routine needs to know of the program.
struct Project {
    std::string_view name;
    std::uint16_t locale_id = 0x409;
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

// Back ends call these for user input; an error raised by a handler ends the
// program through report_unhandled, so nothing is thrown back into a toolkit.
void user_selected(ListBox& list, std::int16_t entry);

// The exit code of a process ended by an unhandled run-time error.
constexpr int runtime_error_exit_code = 3;

} // namespace platform
