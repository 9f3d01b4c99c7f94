// What the form engine asks of a display back end. The build links exactly one
// back end (FLTK on Linux, Win32 on Windows, headless in tests); none of them
// calls an event handler itself: user input goes through platform::user_selected,
// from inside platform::reporting_errors where a toolkit calls back.
//
// What every back end does alike lives in platform/ and is not repeated here:
// the tab order (tab_ring.h), the report's wording (error_report.h), places
// and the font size in pixels (controls.h), the start routine (engine.h).
#pragma once

#include "controls.h"
#include "error_report.h"

namespace display {

// Starts, before the form is read, any slow set-up of the back end that needs
// no form, so that it can run alongside reading the form.
void prepare();

// Creates the native window and one native control per visible element, all
// hidden, and starts observing the model so later changes are shown.
void open(platform::Form& form);

// Shows the window with the keyboard focus on its first element in tab order.
void show(platform::Form& form);

// Dispatches input until the window has been closed.
void run(platform::Form& form);

// Hides the window and shows the report of an error nobody caught, with the
// report's title and text, until the user dismisses it. It must not throw.
void report(platform::ErrorReport const& report);

} // namespace display
