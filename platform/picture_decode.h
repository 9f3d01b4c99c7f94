// Turns the picture files stored in a window description into pictures:
// uncompressed 24-bit BMP files, and ICO files whose first image has 8 bits
// per pixel and a transparency mask. Nothing else is ever stored, so nothing
// else is read.
#pragma once

#include "picture.h"

#include <cstdint>
#include <span>

namespace platform {

// Decodes a complete BMP or ICO file, told apart by their first bytes. A file
// that is cut short, inconsistent or of another format raises
// MalformedFormDescription; no byte outside the file is read.
// With defer_bitmap_pixels a BMP is checked all the same but keeps its file
// (which must then outlive the picture) instead of pixels, until
// Picture::ensure_pixels().
PictureRef decode_picture(std::span<std::uint8_t const> file, bool defer_bitmap_pixels = false);

} // namespace platform
