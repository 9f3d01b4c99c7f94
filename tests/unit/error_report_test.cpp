// The report of an error nobody caught, as every back end shows it and the
// engine writes it to stderr.
#include "platform/error_report.h"

#include <gtest/gtest.h>

using platform::error_report;

TEST(ErrorReport, WordsTheErrorOnceForTheBoxAndForStderr)
{
    std::string const cleaned = "a??й" + std::string(10, '?');
    struct Case {
        char const* name;
        std::string program;
        rt::RuntimeError error;
        std::string text;
        std::string line;
    };
    Case const cases[] = {
        { "with detail", "Tavrel_Oskund", rt::RuntimeError(rt::ErrorCode::Overflow, "too many"),
            "Грешка при изпълнение '6':\n\nПрепълване\n(too many)", "Tavrel_Oskund: грешка 6: Препълване: too many\n" },
        { "without detail", "P", rt::RuntimeError(rt::ErrorCode::MalformedFormDescription, ""),
            "Грешка при изпълнение '450':\n\nОписанието на прозореца е повредено",
            "P: грешка 450: Описанието на прозореца е повредено\n" },
        { "before the start routine named the program", "", rt::RuntimeError(rt::ErrorCode::DivisionByZero, "x"),
            "Грешка при изпълнение '11':\n\nДеление на нула\n(x)", "грешка 11: Деление на нула: x\n" },
        // Stray bytes, a cut sequence, an overlong '/', a surrogate, past U+10FFFF.
        { "detail not UTF-8", "P",
            rt::RuntimeError(rt::ErrorCode::InvalidCall, "a\xFF\xC0й\xD0\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80"),
            "Грешка при изпълнение '5':\n\nНевалидно извикване на процедура или аргумент\n(" + cleaned + ")",
            "P: грешка 5: Невалидно извикване на процедура или аргумент: " + cleaned + "\n" },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        auto const report = error_report(c.program, c.error);
        EXPECT_EQ(report.title, c.program);
        EXPECT_EQ(report.text, c.text);
        EXPECT_EQ(report.line, c.line);
    }
}
