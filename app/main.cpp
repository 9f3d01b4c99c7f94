// Linux entry point. The program takes no arguments; any that are given are
// ignored, like everything else outside the window.
#include "project.h"

int main()
{
    platform::ThunRTMain(app::tavrel_oskund_project());
}
