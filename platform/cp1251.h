// Windows-1251, the code page of the stored window texts, to and from UTF-8.
// Header-only and free of the rest of the platform, because the build-machine
// packer compiles it too.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::cp1251 {

// The characters of bytes 0x80 to 0xFF (0xC0 to 0xFF are А to я in order);
// 0 marks 0x98, the one byte the code page leaves undefined.
inline constexpr std::array<char16_t, 64> upper_half = {
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021', // 80
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F', // 88
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014', // 90
    0, u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F', // 98
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7', // A0
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407', // A8
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7', // B0
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457', // B8
};

// The character a byte stands for; nothing for the undefined byte 0x98.
constexpr std::optional<char32_t> to_unicode(std::uint8_t byte)
{
    if (byte < 0x80)
        return byte;
    if (byte >= 0xC0)
        return static_cast<char32_t>(0x0410 + (byte - 0xC0));
    char16_t const c = upper_half[byte - 0x80];
    if (c == 0)
        return std::nullopt;
    return c;
}

// The byte that stands for a character; nothing if the code page lacks it.
constexpr std::optional<std::uint8_t> from_unicode(char32_t c)
{
    if (c < 0x80)
        return static_cast<std::uint8_t>(c);
    if (c >= 0x0410 && c <= 0x044F)
        return static_cast<std::uint8_t>(0xC0 + (c - 0x0410));
    for (std::size_t i = 0; i < upper_half.size(); ++i)
        if (upper_half[i] != 0 && upper_half[i] == c)
            return static_cast<std::uint8_t>(0x80 + i);
    return std::nullopt;
}

// UTF-8 of Windows-1251 bytes; nothing if a byte is undefined.
inline std::optional<std::string> to_utf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char b : bytes) {
        auto const c = to_unicode(static_cast<std::uint8_t>(b));
        if (!c)
            return std::nullopt;
        if (*c < 0x80) {
            out += static_cast<char>(*c);
        } else if (*c < 0x800) {
            out += static_cast<char>(0xC0 | (*c >> 6));
            out += static_cast<char>(0x80 | (*c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (*c >> 12));
            out += static_cast<char>(0x80 | ((*c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (*c & 0x3F));
        }
    }
    return out;
}

// Windows-1251 bytes of a UTF-8 text; nothing if the text is not well-formed
// UTF-8 or holds a character the code page lacks.
inline std::optional<std::string> from_utf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        auto const lead = static_cast<std::uint8_t>(utf8[i]);
        int const extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : -1;
        // Every character of the code page takes at most three UTF-8 bytes.
        if (extra < 0 || utf8.size() - i <= static_cast<std::size_t>(extra))
            return std::nullopt;
        char32_t c = extra == 0 ? lead : lead & (extra == 1 ? 0x1F : 0x0F);
        for (int k = 1; k <= extra; ++k) {
            auto const next = static_cast<std::uint8_t>(utf8[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        // Overlong forms would let two spellings stand for one character.
        if ((extra == 1 && c < 0x80) || (extra == 2 && c < 0x800))
            return std::nullopt;
        auto const byte = from_unicode(c);
        if (!byte)
            return std::nullopt;
        out += static_cast<char>(*byte);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

} // namespace platform::cp1251
