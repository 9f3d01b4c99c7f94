// Parts of the C++ run-time that the Windows program defines itself. The .exe
// links the run-time statically, and the library's own versions of these few
// functions drag in far more than they are worth: its default terminate
// handler a C++ name demangler and a printf, its throw helpers for the
// standard exceptions a second, reference-counted std::string implementation
// with its unwind tables. Defined here, the linker never takes those members
// from the library; the .exe's tests check that they stay out, and
// scripts/exe-size.sh shows what the .exe holds.
#include "platform/display.h"

#include <bits/functexcept.h>

// The linker takes all of these or none from the library's member that holds
// its own versions; a library that adds one helper there, which the program
// then uses, fails the link with "multiple definition". So this file holds
// exactly the helpers of GCC 12's libstdc++.
#if !defined(__GLIBCXX__) || __GLIBCXX__ != 20220819
#error                                                                                                                 \
    "win32_lean_runtime.cpp replaces the __throw_* helpers and the terminate handler of GCC 12's libstdc++ (20220819): compare this library's bits/functexcept.h with the list here, then update the list and this version"
#endif
#include <exception>
#include <new>
#include <typeinfo>

namespace {

// What the containers and strings report is a fault of the program, and it
// ends like every other one: a run-time error reported by the platform.
[[noreturn]] void fault(char const* what)
{
    rt::raise(rt::ErrorCode::ControlOperationFailed, what);
}

} // namespace

namespace __gnu_cxx {

// The start routine, the window procedure and the engine's calls up catch
// everything, so this runs only when something fails inside the run-time itself.
void __verbose_terminate_handler()
{
    platform::report_unhandled(rt::RuntimeError(rt::ErrorCode::ControlOperationFailed, "std::terminate"));
}

} // namespace __gnu_cxx

namespace std {

void __throw_bad_exception()
{
    throw bad_exception();
}
void __throw_bad_alloc()
{
    throw bad_alloc();
}
void __throw_bad_array_new_length()
{
    throw bad_array_new_length();
}
void __throw_bad_cast()
{
    throw bad_cast();
}
void __throw_bad_typeid()
{
    throw bad_typeid();
}
void __throw_logic_error(char const* what)
{
    fault(what);
}
void __throw_domain_error(char const* what)
{
    fault(what);
}
void __throw_invalid_argument(char const* what)
{
    fault(what);
}
void __throw_length_error(char const* what)
{
    fault(what);
}
void __throw_out_of_range(char const* what)
{
    fault(what);
}
// The format's arguments are left out: printing them would bring printf back.
void __throw_out_of_range_fmt(char const* format, ...)
{
    fault(format);
}
void __throw_runtime_error(char const* what)
{
    fault(what);
}
void __throw_range_error(char const* what)
{
    fault(what);
}
void __throw_overflow_error(char const* what)
{
    fault(what);
}
void __throw_underflow_error(char const* what)
{
    fault(what);
}

} // namespace std
