#include "display.h"
#include "engine.h"
#include "form_reader.h"

#include <cstdlib>

namespace platform {

void ThunRTMain(Project const& project)
{
    try {
        std::unique_ptr<Form> form = read_form(project.form_description);
        if (project.bind_handlers)
            project.bind_handlers(*form);
        display::open(*form);
        form->raise_load();
        display::show(*form);
        display::run(*form);
    } catch (rt::RuntimeError const& error) {
        report_unhandled(error);
    }
    std::exit(0);
}

} // namespace platform
