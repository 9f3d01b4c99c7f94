// Display back end without a display: the window exists only as the control
// model, nothing is drawn, and run() returns at once as if the user had closed
// the window. Errors are reported on stderr by the engine alone.
#include "platform/display.h"

namespace display {

void prepare() { }
void open(platform::Form&) { }
void show(platform::Form&) { }
void run(platform::Form&) { }
void report(platform::ErrorReport const&) { }

} // namespace display
