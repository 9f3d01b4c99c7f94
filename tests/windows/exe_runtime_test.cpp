// What the .exe takes from the static C++ run-time, as its linker map lists
// it: the program defines the run-time's terminate handler and throw helpers
// itself, so that the library's members holding a name demangler, a printf
// and a second std::string stay out of the file. A toolchain that brings
// them back fails here instead of silently growing the .exe.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string read_map()
{
    std::ifstream file(TAVREL_WINDOWS_MAP);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(ExeRuntime, LeavesOutTheRunTimesDemanglerPrintfAndThrowHelpers)
{
    std::string const map = read_map();
    ASSERT_NE(map.find("libstdc++.a(eh_throw.o)"), std::string::npos) << "no linker map of a C++ program";
    for (char const* member : { "cp-demangle.o", "snprintf_lite.o", "vterminate.o", "functexcept.o" })
        EXPECT_EQ(map.find(std::string("libstdc++.a(") + member + ")"), std::string::npos) << member << " is linked in";
}

} // namespace
