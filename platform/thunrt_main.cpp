#include "display.h"
#include "engine.h"
#include "form_reader.h"
#include "tab_ring.h"

#include <cstdlib>

namespace platform {

void ThunRTMain(Project const& project)
{
    set_program_name(project.name);
    // The form lives outside the guarded part: the back end may still draw
    // its controls while the error report is up, so it must outlive the report.
    // Static, because a back end whose event loop is the browser's leaves this
    // routine by unwinding, which would destroy a local, with the window open.
    static std::unique_ptr<Form> form;
    reporting_errors([&] {
        display::start();
        // The description is part of the program, so its bitmaps can wait
        // until a visible box shows them: most of them never are.
        form = read_form(project.form_description, true);
        if (project.bind_handlers)
            project.bind_handlers(*form);
        // The load event and the pictures it leaves in view need no native
        // window: done first, they take place while a back end still waits
        // for its slower set-up, and the window is made in its final state.
        form->raise_load();
        form->show_pictures();
        build_window(*form);
        display::show(*form, TabRing(*form).first());
        display::run(*form);
        display::end();
    });
    form.reset();
    std::exit(0);
}

} // namespace platform
