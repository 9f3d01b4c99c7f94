// Display back end without a display: the window exists only as the control
// model, nothing is drawn, and run() returns at once as if the user had closed
// the window. Errors are reported on stderr by the engine alone. It records
// the changes it is told of, for the tests to count.
#include "headless_backend.h"

#include "platform/display.h"

namespace headless {

Backend& backend()
{
    static Backend instance;
    return instance;
}

} // namespace headless

namespace display {

using headless::backend;

void start() { }
void open_window(platform::Form&) { }
void add_label(platform::Label&) { }
void add_list_box(platform::ListBox&) { }
void add_picture_box(platform::PictureBox&) { }
void add_text_box(platform::TextBox&) { }
void show(platform::Form&, platform::Control*) { }
void caption_changed(platform::Label& label)
{
    backend().changes.push_back(&label);
}
void selection_changed(platform::ListBox& list)
{
    backend().changes.push_back(&list);
}
void picture_changed(platform::PictureBox& box)
{
    backend().changes.push_back(&box);
}
void focus(platform::Control&) { }
void run(platform::Form&) { }
void end() { }
void report(platform::ErrorReport const&) { }

} // namespace display
