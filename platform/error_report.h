// The run-time error report, worded once for every back end. The engine writes
// its one-line form to stderr and hands the title and text to the back end,
// which only has to show them in a modal message box with an OK button.
#pragma once

#include "runtime.h"

#include <string>
#include <string_view>

namespace platform {

struct ErrorReport {
    // The program's name, as the message box's title.
    std::string title;
    // What the message box says: the number, the description and the detail.
    std::string text;
    // The same on one line, for stderr, ending in a line break.
    std::string line;
};

// Words the report of an error nobody caught. The texts are valid UTF-8 even
// when the error's detail is not (each stray byte becomes '?'), so no back
// end can fail while converting them.
ErrorReport error_report(std::string_view program, rt::RuntimeError const& error);

} // namespace platform
