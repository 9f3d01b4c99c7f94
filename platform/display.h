// What the form engine asks of a display back end. The build links exactly one
// back end (FLTK on Linux, Win32 on Windows, headless in tests); none of them
// calls an event handler itself: user input goes through platform::user_selected.
#pragma once

#include "controls.h"
#include "runtime.h"

namespace display {

// Creates the native window and one native control per visible element, all
// hidden, and starts observing the model so later changes are shown.
void open(platform::Form& form);

// Shows the window with the keyboard focus on its first element in tab order.
void show(platform::Form& form);

// Dispatches input until the window has been closed.
void run(platform::Form& form);

// Tells the user of an error nobody caught, and waits until it is dismissed.
void report(rt::RuntimeError const& error);

} // namespace display
