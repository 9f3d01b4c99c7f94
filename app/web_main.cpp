// The page's entry point: the program as on the desktop, and beside its
// window the page's practice, which poses its tasks in the same window.
#include "practice_bridge.h"
#include "project.h"

#include "route/tavrel_oskund.h"

namespace {

void bind_handlers(platform::Form& form)
{
    route::bind_handlers(form);
    app::practice_bridge::attach(form);
}

} // namespace

int main()
{
    platform::Project project = app::tavrel_oskund_project();
    project.bind_handlers = bind_handlers;
    platform::ThunRTMain(project);
}
