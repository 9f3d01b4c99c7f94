// The whole contract between the engine and a display back end: what a back
// end must do (namespace display, which the back end defines) and what it may
// call up (namespace platform, which the engine defines). A back end includes
// this header and its toolkit, nothing else of the engine. The build links
// exactly one back end: FLTK on Linux (fltk/), Win32 on Windows (win32/), the
// DOM in a web page (web/), nothing in unit tests (headless/). The engine
// calls it in this order: start, open_window, one add_* per visible element in
// creation order, show, run, end; the *_changed calls and focus come between
// show and end, report at any time.
//
// A back end keeps its native state in one Backend reached through backend(),
// and never calls an event handler itself: user input goes up through the
// calls below. Each call up runs under the error report inside the engine, so
// a back end never wraps one; it runs under platform::reporting_errors only
// those toolkit callbacks of its own that call nothing up and may fail. That
// way every piece of user input runs under the report exactly once. Every
// failure a back end meets is raised as a run-time error that names it.
//
// What all back ends do alike lives in platform/ and is not repeated here:
// the tab order (the engine steps it), the report's wording (error_report.h),
// places and the font size in pixels (controls.h), pictures (picture.h).
#pragma once

#include "controls.h"
#include "error_report.h"

#include <cstdint>
#include <utility>

namespace display {

// Begins any slow set-up that needs no form, to run while the form is read.
void start();

// Creates the hidden top-level window: frame, caption, colours, font, icon.
void open_window(platform::Form& form);

// Makes a label; it may be painted on the window, behind every box.
void add_label(platform::Label& label);
// Makes a single-selection list box with the model's entries and selection.
void add_list_box(platform::ListBox& list);
// Makes a picture box that shows its picture 1:1 from the top-left corner.
void add_picture_box(platform::PictureBox& box);
// Makes a text box with the model's text; a locked one refuses every edit.
void add_text_box(platform::TextBox& text);
// Earlier elements lie in front of later ones where they overlap.

// Shows the window with the keyboard focus on first_focus (null for none).
void show(platform::Form& form, platform::Control* first_focus);

// Shows a label's new caption. Of the changes one piece of user input makes,
// the engine passes each element on once, after the program's handlers return.
void caption_changed(platform::Label& label);
// Shows a list box's new selection, scrolled into view.
void selection_changed(platform::ListBox& list);
// Shows a picture box's new picture.
void picture_changed(platform::PictureBox& box);

// Moves the keyboard focus to an element, as Tab does.
void focus(platform::Control& control);

// Dispatches input until the window has been closed.
void run(platform::Form& form);

// Releases the window and everything native; the form is destroyed next.
void end();

// Hides the window and shows the report, title and text, in a modal message
// box with an OK button until the user dismisses it. It must not throw.
void report(platform::ErrorReport const& report);

} // namespace display

namespace platform {

// The user chose entry of list; choosing the selected entry again is no change.
void user_selected(ListBox& list, std::int16_t entry);
// The user pressed Tab (or Shift+Tab) on focused (null for none): the focus
// moves through display::focus; false when nothing takes the focus.
bool user_pressed_tab(Form const& form, Control const* focused, bool backward);
// The element Tab (or Shift+Tab) leaves the window from, the ring's last (or
// first), for a back end whose focus may go on outside the window; null for none.
Control const* tab_edge(Form const& form, bool backward);

// Reports the exception being handled and ends the process; for a catch (...)
// block. Anything that is not a run-time error (out of memory and the like) is
// reported as a failed control operation, so no error ends the program silently.
[[noreturn]] void report_current_exception();
// Reports an error that nobody caught and ends the process with a non-zero
// exit code; for a back end's last resort, such as a terminate handler.
[[noreturn]] void report_unhandled(rt::RuntimeError const& error);

// Runs body and turns any error escaping it into the report: for the start
// routine, and for a toolkit callback that calls nothing up, since no
// exception may travel through a toolkit's or the system's frames.
template<typename Body> decltype(auto) reporting_errors(Body&& body)
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        report_current_exception();
    }
}

} // namespace platform
