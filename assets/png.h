// A minimal PNG writer for the desktop icon, on zlib's deflate and CRC. It
// runs on the build machine only: the program itself never writes a PNG.
#pragma once

#include "icon.h"

#include <array>
#include <cstdint>
#include <vector>

namespace assets {

// Encodes width x height red, green, blue, alpha bytes, top row first, as an
// 8-bit RGBA PNG file.
std::vector<std::uint8_t> encode_png(int width, int height, std::vector<std::uint8_t> const& rgba);

// The sizes a desktop's icon theme asks for.
inline constexpr std::array<int, 8> desktop_icon_sizes { 16, 22, 24, 32, 48, 64, 128, 256 };

// The icon as a size x size PNG file, for desktops that want one: at 32 the
// bitmap itself, at other sizes its pixels repeated or dropped whole (each
// pixel takes the art's pixel nearest its centre), so that the pixel art
// stays sharp and no colour appears that the art does not have.
std::vector<std::uint8_t> icon_png(int size = icon_size);

} // namespace assets
