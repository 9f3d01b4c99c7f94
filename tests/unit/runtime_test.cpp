#include "platform/engine.h"
#include "platform/runtime.h"

#include "raised_by.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using testing_support::raised_by;

TEST(Runtime, ValReadsNumbersWhateverTheLocale)
{
    struct Case {
        char const* text;
        double value;
    };
    Case const cases[] = {
        { "", 0 },
        { "0", 0 },
        { "7", 7 },
        { "  12", 12 },
        { "-3", -3 },
        { "+4", 4 },
        { "2.5", 2.5 },
        { ".5", 0.5 },
        { "12abc", 12 },
        { "abc", 0 },
        { "-", 0 },
        { "1e3", 1000 },
        { "1.5E-1", 0.15 },
        { "3e", 3 },
        { "3e+", 3 },
        { "1,5", 1 },
        { "0007", 7 },
        { "\t9", 9 },
    };
    for (auto const& c : cases)
        EXPECT_DOUBLE_EQ(rt::Val(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(raised_by([] { rt::Val("1e999"); }), rt::ErrorCode::Overflow);
}

TEST(Runtime, ToInt16RoundsTiesToEvenAndChecksRange)
{
    struct Case {
        double in;
        std::int16_t out;
    };
    Case const cases[] = {
        { 2.5, 2 },
        { 3.5, 4 },
        { -2.5, -2 },
        { 0.5, 0 },
        { 1.4999, 1 },
        { 343, 343 },
        { 32767, 32767 },
        { -32768, -32768 },
        { 32767.4, 32767 },
        { -32768.5, -32768 },
    };
    for (auto const& c : cases)
        EXPECT_EQ(rt::to_int16(c.in), c.out) << c.in;
    for (double bad : { 32767.5, 32768.0, -32769.0, 1e300, std::numeric_limits<double>::quiet_NaN() })
        EXPECT_EQ(raised_by([=] { rt::to_int16(bad); }), rt::ErrorCode::Overflow) << bad;
}

TEST(Runtime, IntToTextHasNoBlanksOrLeadingZeros)
{
    EXPECT_EQ(rt::int_to_text(0), "0");
    EXPECT_EQ(rt::int_to_text(343), "343");
    EXPECT_EQ(rt::int_to_text(-7), "-7");
    EXPECT_EQ(rt::int_to_text(32767), "32767");
    EXPECT_EQ(rt::int_to_text(-32768), "-32768");
    EXPECT_EQ(rt::concat("1*", "2"), "1*2");
}

TEST(Runtime, FloatingPointResultBecomesAnError)
{
    volatile double huge = 1e308;
    volatile double zero = 0.0;
    EXPECT_EQ(raised_by([&] { rt::check_fp(huge * 10); }), rt::ErrorCode::Overflow);
    EXPECT_EQ(raised_by([&] { rt::check_fp(-huge * 10); }), rt::ErrorCode::Overflow);
    // Only the result is seen, the same on targets with and without status flags.
    EXPECT_EQ(raised_by([&] { rt::check_fp(1.0 / zero); }), rt::ErrorCode::Overflow);
    EXPECT_EQ(raised_by([&] { rt::check_fp(zero / zero); }), rt::ErrorCode::FloatingPoint);
    // A clean operation after a failed one is not blamed for it.
    volatile double six = 6;
    rt::check_fp(six * 7);
}

TEST(Runtime, ErrorCarriesItsNumberAndDescribesItselfWithTheDetail)
{
    rt::RuntimeError const error(rt::ErrorCode::Overflow, "detail");
    EXPECT_EQ(error.number(), 6);
    EXPECT_EQ(std::string(error.what()), "Препълване: detail");
}

TEST(RuntimeDeathTest, UnhandledErrorIsReportedAndEndsTheProcess)
{
    EXPECT_EXIT(platform::report_unhandled(rt::RuntimeError(rt::ErrorCode::Overflow, "too many routes")),
        testing::ExitedWithCode(platform::runtime_error_exit_code), "грешка 6: Препълване: too many routes");
}
