// Windows-1251 to and from UTF-8: every defined byte round-trips, the one
// undefined byte and characters outside the code page are refused, and so is
// text that is not well-formed UTF-8.
#include "platform/cp1251.h"

#include <gtest/gtest.h>

namespace {

using namespace platform::cp1251;

TEST(Cp1251, EveryDefinedByteRoundTrips)
{
    for (int b = 0; b < 256; ++b) {
        std::string const byte(1, static_cast<char>(b));
        auto const utf8 = to_utf8(byte);
        if (b == 0x98) {
            EXPECT_FALSE(utf8.has_value());
            continue;
        }
        ASSERT_TRUE(utf8.has_value()) << b;
        EXPECT_EQ(from_utf8(*utf8), byte) << b;
    }
}

TEST(Cp1251, KnownCharacters)
{
    struct Case {
        std::string utf8;
        std::string bytes;
    };
    Case const cases[] = {
        { "А", "\xC0" },
        { "я", "\xFF" },
        { "Ё", "\xA8" },
        { "ё", "\xB8" },
        { "№", "\xB9" },
        { "€", "\x88" },
        { "Ђ", "\x80" },
        { "џ", "\x9F" },
        { "—", "\x97" },
        { "\u00A0", "\xA0" },
        { "Брой маршрути:", "\xC1\xF0\xEE\xE9 \xEC\xE0\xF0\xF8\xF0\xF3\xF2\xE8:" },
        { "a\r\n", "a\r\n" },
    };
    for (auto const& c : cases) {
        EXPECT_EQ(from_utf8(c.utf8), c.bytes) << c.utf8;
        EXPECT_EQ(to_utf8(c.bytes), c.utf8) << c.utf8;
    }
}

TEST(Cp1251, TextOutsideTheCodePageIsRefused)
{
    for (std::string const bad : {
             "\xE4\xB8\xAD", // a CJK character
             "\xC3\xA9", // é, a Latin letter Windows-1251 lacks
             "\xF0\x9F\x98\x80", // outside the basic plane
             "\xD0", // cut short
             "\xD0\x41", // a bad continuation byte
             "\xC0\x80", // an overlong zero
             "\xE0\x80\x80", // overlong
             "\x80", // a stray continuation byte
         })
        EXPECT_FALSE(from_utf8(bad).has_value());
}

} // namespace
