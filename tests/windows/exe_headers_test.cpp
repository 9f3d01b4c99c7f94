// What the Windows build made of Tavrel_Oskund.exe: a 32-bit GUI program that
// Windows XP SP3 and every later Windows load, with DEP and ASLR, needing no
// DLL but Windows' own and no function that XP lacks.
#include "pe_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

namespace {

pe::Image const& exe()
{
    static pe::Image const image = pe::read_image(TAVREL_WINDOWS_EXE);
    return image;
}

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Functions that Windows XP SP3's system DLLs export and that this program
// may import. A new import must be checked against XP before it joins here.
std::set<std::string> const xp_functions[] = {
    // kernel32.dll
    { "AddVectoredExceptionHandler", "CloseHandle", "CreateEventA", "CreateSemaphoreA", "CreateSemaphoreW",
        "DeleteCriticalSection", "DuplicateHandle", "EnterCriticalSection", "FreeLibrary", "GetCurrentProcess",
        "GetCurrentProcessId", "GetCurrentThread", "GetCurrentThreadId", "GetHandleInformation", "GetLastError",
        "GetModuleHandleA", "GetModuleHandleW", "GetProcAddress", "GetProcessAffinityMask", "GetStartupInfoA",
        "GetSystemTimeAsFileTime", "GetThreadContext", "GetThreadPriority", "GetTickCount", "InitializeCriticalSection",
        "IsDBCSLeadByteEx", "IsDebuggerPresent", "LeaveCriticalSection", "LoadLibraryA", "LoadLibraryW",
        "MultiByteToWideChar", "OpenProcess", "OutputDebugStringA", "QueryPerformanceCounter",
        "QueryPerformanceFrequency", "RaiseException", "ReleaseSemaphore", "RemoveVectoredExceptionHandler",
        "ResetEvent", "ResumeThread", "SetEvent", "SetLastError", "SetProcessAffinityMask", "SetThreadContext",
        "SetThreadPriority", "SetUnhandledExceptionFilter", "Sleep", "SuspendThread", "TlsAlloc", "TlsFree",
        "TlsGetValue", "TlsSetValue", "TryEnterCriticalSection", "VirtualProtect", "VirtualQuery",
        "WaitForMultipleObjects", "WaitForSingleObject", "WideCharToMultiByte" },
    // user32.dll
    { "AdjustWindowRectEx", "BeginPaint", "CopyImage", "CreateIconIndirect", "CreateWindowExW", "DefWindowProcW",
        "DestroyIcon", "DestroyWindow", "DispatchMessageW", "DrawTextW", "EndPaint", "FillRect", "GetClientRect",
        "GetDC", "GetFocus", "GetKeyState", "GetMessageW", "GetSysColor", "GetSysColorBrush", "GetSystemMetrics",
        "InvalidateRect", "IsChild", "LoadCursorW", "MessageBoxW", "PostQuitMessage", "RegisterClassExW", "ReleaseDC",
        "SendMessageW", "SetFocus", "SetWindowPos", "SetWindowTextW", "ShowWindow", "SystemParametersInfoW",
        "TranslateMessage", "UpdateWindow" },
    // gdi32.dll
    { "CreateBitmap", "CreateDIBSection", "CreateFontW", "CreateSolidBrush", "DeleteObject", "SelectObject",
        "SetBkColor", "SetBkMode", "SetDIBitsToDevice", "SetTextColor" },
    // msvcrt.dll, the run-time every Windows since 2000 carries
    { "__getmainargs", "__initenv", "__mb_cur_max", "__p__acmdln", "__p__commode", "__p__fmode", "__set_app_type",
        "__setusermatherr", "_amsg_exit", "_beginthreadex", "_cexit", "_close", "_endthreadex", "_errno", "_exit",
        "_initterm", "_iob", "_onexit", "_read", "_setjmp3", "_strdup", "_ultoa", "abort", "atoi", "calloc", "exit",
        "fflush", "fprintf", "fputc", "fputs", "fputwc", "free", "fwprintf", "fwrite", "localeconv", "longjmp",
        "malloc", "memchr", "memcmp", "memcpy", "memmove", "memset", "printf", "realloc", "setlocale", "signal",
        "strchr", "strcmp", "strerror", "strlen", "strncmp", "strtod", "vfprintf", "wcslen" },
};
char const* const xp_dlls[] = { "kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll" };

TEST(ExeHeaders, IsA32BitGuiProgramForWindowsXpAndLater)
{
    struct Field {
        char const* name;
        unsigned actual;
        unsigned expected;
    };
    Field const fields[] = {
        { "machine (i386)", exe().machine, 0x14C },
        { "optional header (PE32)", exe().magic, 0x10B },
        { "subsystem (Windows GUI)", exe().subsystem, 2 },
        { "subsystem major version", exe().major_subsystem_version, 5 },
        { "subsystem minor version", exe().minor_subsystem_version, 1 },
        { "OS major version", exe().major_os_version, 5 },
        { "OS minor version", exe().minor_os_version, 1 },
    };
    for (Field const& field : fields)
        EXPECT_EQ(field.actual, field.expected) << field.name;
}

TEST(ExeHeaders, AsksForDataExecutionPreventionAndAddressRandomisation)
{
    EXPECT_TRUE(exe().dll_characteristics & 0x0100) << "NX compatible";
    EXPECT_TRUE(exe().dll_characteristics & 0x0040) << "dynamic base";
    // Without relocations the loader cannot move the image, whatever the flag says.
    EXPECT_GT(exe().relocations_size, 0u) << "base relocations";
}

TEST(ExeHeaders, ImportsOnlyWindowsOwnDllsAndFunctionsThatXpHas)
{
    ASSERT_FALSE(exe().imports.empty());
    for (pe::Import const& import : exe().imports) {
        auto const dll = std::find(std::begin(xp_dlls), std::end(xp_dlls), lower(import.dll));
        ASSERT_NE(dll, std::end(xp_dlls)) << import.dll << " is not one of Windows' own DLLs";
        auto const& allowed = xp_functions[dll - std::begin(xp_dlls)];
        for (std::string const& function : import.functions)
            EXPECT_TRUE(allowed.count(function)) << import.dll << "!" << function << " is not on the XP list";
    }
}

} // namespace
