// The error report every back end shows; see error_report.h.
#include "error_report.h"

namespace platform {

namespace {

// The length of the well-formed UTF-8 sequence at the start of text, or 0.
std::size_t sequence_length(std::string_view text)
{
    auto const byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char const lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t const length = lead >= 0xC2 && lead <= 0xDF ? 2
        : lead >= 0xE0 && lead <= 0xEF                      ? 3
        : lead >= 0xF0 && lead <= 0xF4                      ? 4
                                                            : 0;
    if (length == 0 || text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    // Overlong forms, UTF-16 surrogates and code points past U+10FFFF.
    unsigned char const second = byte(1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90)
        || (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

std::string valid_utf8(std::string_view text)
{
    std::string valid;
    valid.reserve(text.size());
    while (!text.empty()) {
        std::size_t const length = sequence_length(text);
        valid.append(length ? text.substr(0, length) : "?");
        text.remove_prefix(length ? length : 1);
    }
    return valid;
}

} // namespace

ErrorReport error_report(std::string_view program, rt::RuntimeError const& error)
{
    std::string const number = std::to_string(error.number());
    std::string const detail = valid_utf8(error.detail());
    std::string const description(error.description());

    ErrorReport report;
    report.title = valid_utf8(program);
    report.text = "Грешка при изпълнение '" + number + "':\n\n" + description;
    if (!detail.empty())
        report.text += "\n(" + detail + ")";
    report.line = (report.title.empty() ? "" : report.title + ": ") + "грешка " + number + ": " + description
        + (detail.empty() ? "" : ": " + detail) + "\n";
    return report;
}

} // namespace platform
