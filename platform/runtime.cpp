#include "runtime.h"

#include <cmath>
#include <limits>

namespace rt {

namespace {

struct ErrorEntry {
    ErrorCode code;
    std::string_view text;
};

constexpr ErrorEntry error_table[] = {
    { ErrorCode::InvalidCall, "Невалидно извикване на процедура или аргумент" },
    { ErrorCode::Overflow, "Препълване" },
    { ErrorCode::SubscriptOutOfRange, "Индексът е извън допустимите граници" },
    { ErrorCode::DivisionByZero, "Деление на нула" },
    { ErrorCode::TypeMismatch, "Несъответствие на типовете" },
    { ErrorCode::FloatingPoint, "Грешка при операция с плаваща запетая" },
    { ErrorCode::ControlElementMissing, "Елементът на контролния масив не съществува" },
    { ErrorCode::InvalidPropertyValue, "Невалидна стойност на свойство" },
    { ErrorCode::ControlOperationFailed, "Операцията с контролата е неуспешна" },
    { ErrorCode::MalformedFormDescription, "Описанието на прозореца е повредено" },
};

} // namespace

std::string_view error_description(ErrorCode code)
{
    for (auto const& entry : error_table)
        if (entry.code == code)
            return entry.text;
    return "Неизвестна грешка";
}

RuntimeError::RuntimeError(ErrorCode code, std::string detail)
    : m_code(code)
    , m_detail(std::move(detail))
    , m_what(error_description(code))
{
    if (!m_detail.empty())
        m_what.append(": ").append(m_detail);
}

void raise(ErrorCode code, std::string detail)
{
    throw RuntimeError(code, std::move(detail));
}

std::string concat(std::string_view left, std::string_view right)
{
    std::string result;
    result.reserve(left.size() + right.size());
    result.append(left);
    result.append(right);
    return result;
}

std::string int_to_text(std::int16_t value)
{
    // std::to_string ignores the locale for integers: no grouping, no blank.
    return std::to_string(value);
}

double Val(std::string_view text)
{
    std::size_t i = 0;
    auto const at = [&](std::size_t k) { return k < text.size() ? text[k] : '\0'; };
    auto const is_digit = [](char c) { return c >= '0' && c <= '9'; };

    while (at(i) == ' ' || at(i) == '\t')
        ++i;
    bool negative = false;
    if (at(i) == '+' || at(i) == '-')
        negative = at(i++) == '-';

    // Digits are gathered as an integer mantissa and a decimal exponent so the
    // result does not depend on the C locale's decimal separator.
    double mantissa = 0;
    int exponent = 0;
    bool any_digit = false;
    for (; is_digit(at(i)); ++i, any_digit = true)
        mantissa = mantissa * 10 + (at(i) - '0');
    if (at(i) == '.') {
        for (++i; is_digit(at(i)); ++i, any_digit = true) {
            mantissa = mantissa * 10 + (at(i) - '0');
            --exponent;
        }
    }
    if (!any_digit)
        return 0;
    if ((at(i) == 'e' || at(i) == 'E')
        && (is_digit(at(i + 1)) || ((at(i + 1) == '+' || at(i + 1) == '-') && is_digit(at(i + 2))))) {
        ++i;
        bool const exp_negative = at(i) == '-';
        if (at(i) == '+' || at(i) == '-')
            ++i;
        int written = 0;
        for (; is_digit(at(i)); ++i)
            written = written > 100000 ? written : written * 10 + (at(i) - '0');
        exponent += exp_negative ? -written : written;
    }
    // Whole numbers, the common case, need no scaling.
    double const value = exponent == 0 ? mantissa : mantissa * std::pow(10.0, exponent);
    if (!std::isfinite(value))
        raise(ErrorCode::Overflow, "the number in the text is too large");
    return negative ? -value : value;
}

std::int16_t to_int16(double value)
{
    if (std::isnan(value))
        raise(ErrorCode::Overflow, "not a number");
    // nearbyint rounds ties to even in the default rounding mode.
    double const rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<std::int16_t>::min() || rounded > std::numeric_limits<std::int16_t>::max())
        raise(ErrorCode::Overflow, "the value does not fit a 16-bit integer");
    return static_cast<std::int16_t>(rounded);
}

void check_fp(double result)
{
    // The status flags are not read: WebAssembly has none, and a compiler may
    // fold the operation at build time so that none is set. The result tells
    // the same on every target, since each checked operation is a single
    // conversion or multiplication of finite values.
    if (std::isnan(result))
        raise(ErrorCode::FloatingPoint, "invalid operation");
    if (std::isinf(result))
        raise(ErrorCode::Overflow, "floating-point overflow");
}

} // namespace rt
