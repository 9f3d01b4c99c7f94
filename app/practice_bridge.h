// The page's practice, as its script reaches it: one attempt at a time,
// whose tasks are posed in the program's window and whose answers are read
// and checked here. The script only presents what it is given.
#pragma once

#include "platform/controls.h"

namespace app::practice_bridge {

// The window the tasks are posed in; it lives as long as the page.
void attach(platform::Form& form);

} // namespace app::practice_bridge

// JavaScript to C++, from web_practice.js. Each call that changes the window
// runs as one piece of user input.
extern "C" {
// Begins an attempt at level 1 from a seed: 1 once its first task is posed.
int tavrel_practice_start(unsigned seed);
// Goes on with an attempt from its saved form: 1 where the form is sound and
// its task is posed, 0 (nothing changed) where it is not.
int tavrel_practice_resume(char const* saved);
// The buffer the script writes the answer field's text (or, with a
// terminating 0, a saved form to resume) into, as UTF-8; 256 bytes.
char* tavrel_practice_text();
// Reads the answer (the field's size bytes in levels 1 and 2, the missing
// list in level 3) and, where it is one, checks it.
void tavrel_practice_check(int size);
// After an answered task: the next task, the next level, the same level
// again. Each poses the task it comes to.
void tavrel_practice_next_task();
void tavrel_practice_next_level();
void tavrel_practice_repeat_level();
// The attempt ends; the window is the script's to give back.
void tavrel_practice_end();
// The attempt as numbers (see practice_bridge.cpp for their order), and as
// its saved form, both valid until the next call.
int const* tavrel_practice_state();
char const* tavrel_practice_saved();
}
