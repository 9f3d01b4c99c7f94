// Windows entry point. The command line is ignored.
#include "project.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    platform::ThunRTMain(app::tavrel_oskund_project());
}
