#include "display.h"
#include "engine.h"
#include "form_reader.h"

#include <cstdlib>

namespace platform {

void ThunRTMain(Project const& project)
{
    // The form lives outside the try block: the back end may still draw its
    // controls while the error report is up, so it must outlive the report.
    std::unique_ptr<Form> form;
    try {
        // The description is part of the program, so its bitmaps can wait:
        // of the eleven it holds, the window shows one at start.
        form = read_form(project.form_description, true);
        if (project.bind_handlers)
            project.bind_handlers(*form);
        display::open(*form);
        form->raise_load();
        form->show_pictures();
        display::show(*form);
        display::run(*form);
    } catch (rt::RuntimeError const& error) {
        report_unhandled(error);
    } catch (std::exception const& error) {
        // Out of memory and the like: still reported, never a silent end.
        report_unhandled(rt::RuntimeError(rt::ErrorCode::ControlOperationFailed, error.what()));
    }
    form.reset();
    std::exit(0);
}

} // namespace platform
