// The run-time library the program's code stands on: run-time errors, text and
// number conversions, and the checks that turn a failed operation into an error.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace rt {

// Every error the platform can raise. The numbers are what the user sees in the
// error report; keep them stable.
enum class ErrorCode : std::uint16_t {
    InvalidCall = 5,
    Overflow = 6,
    SubscriptOutOfRange = 9,
    DivisionByZero = 11,
    TypeMismatch = 13,
    FloatingPoint = 16,
    ControlElementMissing = 340,
    InvalidPropertyValue = 380,
    ControlOperationFailed = 400,
    MalformedFormDescription = 450,
};

// The user-facing description of an error number (Bulgarian, like all texts).
std::string_view error_description(ErrorCode code);

// Derived from std::exception alone: std::runtime_error would link the C++
// run-time's second (reference-counted) string implementation into the .exe.
class RuntimeError : public std::exception {
public:
    RuntimeError(ErrorCode code, std::string detail);

    // The description, then ": " and the detail where there is one.
    char const* what() const noexcept override { return m_what.c_str(); }

    ErrorCode code() const { return m_code; }
    int number() const { return static_cast<int>(m_code); }
    // The description from the error table, without the detail.
    std::string_view description() const { return error_description(m_code); }
    // What went wrong in the words of the code that raised it (may be empty).
    std::string const& detail() const { return m_detail; }

private:
    ErrorCode m_code;
    std::string m_detail;
    std::string m_what;
};

// Raises a run-time error; the program itself never catches one.
[[noreturn]] void raise(ErrorCode code, std::string detail = {});

// Text concatenation.
std::string concat(std::string_view left, std::string_view right);

// Decimal digits of a 16-bit value, with a minus sign when negative and no blank.
std::string int_to_text(std::int16_t value);

// The number a text spells, read the same way whatever the locale: leading
// blanks are skipped, then an optional sign, digits, an optional '.' fraction
// and an optional exponent (E or e); reading stops at the first character that
// does not fit, so "12abc" is 12 and a text without a leading number is 0.
double Val(std::string_view text);

// Nearest 16-bit integer, ties to the even one; out of range raises Overflow.
std::int16_t to_int16(double value);

// Tests the result of a conversion or a multiplication: an invalid operation
// (not a number) raises FloatingPoint, an overflow (infinity) raises Overflow.
// Only the result is read, so every target, WebAssembly too, gives the same
// error; a division by zero, which no checked operation does, shows here as
// an overflow.
void check_fp(double result);

} // namespace rt
