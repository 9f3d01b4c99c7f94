// What a display back end must do: the whole list. The build links exactly
// one back end, which defines every function below: FLTK on Linux (fltk/),
// Win32 on Windows (win32/), the DOM in a web page (web/), nothing in unit
// tests (headless/). The engine calls them in this order: start, open_window,
// one add_* per visible element in creation order, show, run, end; the
// *_changed calls and focus come between show and end, report at any time.
//
// A back end keeps its native state in one Backend reached through backend(),
// and never calls an event handler itself: user input goes up through the
// engine (platform::user_selected, platform::user_pressed_tab), from inside
// platform::reporting_errors where a toolkit calls back. Every failure it
// meets is raised as a run-time error that names the back end.
//
// What all back ends do alike lives in platform/ and is not repeated here:
// the tab order (tab_ring.h), the report's wording (error_report.h), places
// and the font size in pixels (controls.h), pictures (picture.h).
#pragma once

#include "controls.h"
#include "error_report.h"

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

// Shows the window with the keyboard focus on the first element in tab order.
void show(platform::Form& form);

// Shows a label's new caption.
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
