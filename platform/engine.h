// The start routine and the form engine: what the program hands to the
// platform. The engine's side of the contract with a back end, the calls up
// for user input and the error report, is declared in display.h.
#pragma once

#include "controls.h"
#include "display.h"
#include "runtime.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

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

// Names the running project in every error report from now on; the start
// routine sets it, and a report made before it carries no name.
void set_program_name(std::string_view name);

// Has the back end make the window and a native element for each visible
// control, in creation order, and tells it of every change from then on.
void build_window(Form& form);

// Runs a command the user gave the program from outside its window (a page's
// own control) as one piece of user input: under the error report, with the
// changes it makes passed to the back end once it has returned.
void user_command(std::function<void()> const& command);

// The exit code of a process ended by an unhandled run-time error.
constexpr int runtime_error_exit_code = 3;

} // namespace platform
