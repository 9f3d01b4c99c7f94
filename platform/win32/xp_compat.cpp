// Keeps the 32-bit program loadable on Windows XP. The statically linked
// winpthread (which the C++ run-time needs) calls GetTickCount64, which
// kernel32 has only from Vista on; an import of it would stop the loader on XP
// before the program runs. This file defines the import slot itself, so the
// linker takes it instead of kernel32's, and fills it with a function that
// uses the system's GetTickCount64 where it exists and a widened GetTickCount
// elsewhere. It is compiled into the program itself (not into a library), so
// the slot is defined before winpthread asks for it.
#if defined(__i386__)

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace {

using TickCount64 = ULONGLONG(WINAPI*)();

// Milliseconds since start-up, widened from the 32-bit count that wraps every
// 49.7 days: a wrap is seen as the count going down. Only winpthread's waits
// ask for it, always on the one user-interface thread of this program.
ULONGLONG WINAPI widened_tick_count()
{
    static DWORD last = 0;
    static ULONGLONG wraps = 0;
    DWORD const now = GetTickCount();
    if (now < last)
        wraps += 0x100000000ULL;
    last = now;
    return wraps + now;
}

ULONGLONG WINAPI first_tick_count();

} // namespace

// The import slot winpthread calls through (__imp__GetTickCount64@0).
extern "C" TickCount64 tavrel_tick_count_64_slot __asm__("__imp__GetTickCount64@0");
TickCount64 tavrel_tick_count_64_slot = first_tick_count;

namespace {

// Picks the implementation on the first call and stays with it.
ULONGLONG WINAPI first_tick_count()
{
    TickCount64 chosen = widened_tick_count;
    if (HMODULE const kernel = GetModuleHandleW(L"kernel32.dll"))
        if (FARPROC const system = GetProcAddress(kernel, "GetTickCount64"))
            chosen = reinterpret_cast<TickCount64>(reinterpret_cast<void*>(system));
    tavrel_tick_count_64_slot = chosen;
    return chosen();
}

} // namespace

#endif
