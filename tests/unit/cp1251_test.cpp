// Windows-1251 to and from UTF-8: the upper half agrees with glibc's iconv
// both ways, the one undefined byte and characters outside the code page are
// refused, and so is text that is not well-formed UTF-8.
#include "platform/cp1251.h"

#include <gtest/gtest.h>
#include <iconv.h>

namespace {

using namespace platform::cp1251;

// glibc's own converter, as an independent table: the UTF-8 of one
// Windows-1251 byte, or nothing where glibc refuses the byte.
std::optional<std::string> glibc_utf8(std::uint8_t byte)
{
    iconv_t const cd = iconv_open("UTF-8", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "glibc cannot convert from CP1251";
        return std::nullopt;
    }
    char in[1] = { static_cast<char>(byte) };
    char out[8] = {};
    char* in_at = in;
    char* out_at = out;
    std::size_t in_left = 1, out_left = sizeof out;
    std::size_t const result = iconv(cd, &in_at, &in_left, &out_at, &out_left);
    iconv_close(cd);
    if (result == static_cast<std::size_t>(-1))
        return std::nullopt;
    return std::string(out, out_at);
}

// 0x98 is undefined in Windows-1251: glibc refuses it, and so do we.
TEST(Cp1251, UpperHalfAgreesWithGlibcBothWays)
{
    for (int b = 0x80; b <= 0xFF; ++b) {
        std::string const byte(1, static_cast<char>(b));
        auto const expected = glibc_utf8(static_cast<std::uint8_t>(b));
        EXPECT_EQ(to_utf8(byte), expected) << std::hex << b;
        if (expected) {
            EXPECT_EQ(from_utf8(*expected), byte) << std::hex << b;
        }
    }
    EXPECT_FALSE(glibc_utf8(0x98).has_value());
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
