// Turns the picture files stored in a window description into pictures:
// uncompressed 24-bit BMP files, and ICO files whose first image has 8 bits
// per pixel and a transparency mask. Nothing else is ever stored, so nothing
// else is read.
#pragma once

#include "controls.h"

#include <cstdint>
#include <span>

namespace platform {

// Decodes a complete BMP or ICO file, told apart by their first bytes. A file
// that is cut short, inconsistent or of another format raises
// MalformedFormDescription; no byte outside the file is read.
PictureRef decode_picture(std::span<std::uint8_t const> file);

} // namespace platform
