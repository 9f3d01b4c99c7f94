// A minimal PNG writer for the desktop icon, on zlib's deflate and CRC. It
// runs on the build machine only: the program itself never writes a PNG.
#pragma once

#include <cstdint>
#include <vector>

namespace assets {

// Encodes width x height red, green, blue, alpha bytes, top row first, as an
// 8-bit RGBA PNG file.
std::vector<std::uint8_t> encode_png(int width, int height, std::vector<std::uint8_t> const& rgba);

// The icon as a PNG file, for desktops that want one.
std::vector<std::uint8_t> icon_png();

} // namespace assets
