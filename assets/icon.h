// The window and application icon: a 32 x 32 hamburger drawn as pixel art in
// icon_art.cpp, handed out in the forms the program needs it in. The icon file
// carries one 8-bit image; the same image bytes also serve as the executable's
// icon resource, which an icon group resource points at by number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace assets {

constexpr int icon_size = 32;
constexpr std::size_t icon_ico_size = 2246;
constexpr std::size_t icon_image_size = 2224;
constexpr std::size_t icon_group_resource_size = 20;
// Resource number of the icon image in the executable (resource type 3).
constexpr std::uint16_t icon_image_resource_id = 30001;

// The complete ICO file: directory, one entry, the image.
std::vector<std::uint8_t> icon_ico();

// The image alone: information header, 256-entry colour table, colour indices
// and transparency mask (both bottom row first), and 8 trailing zero bytes.
std::vector<std::uint8_t> icon_image();

// The icon group resource (type 14) that names icon_image_resource_id.
std::vector<std::uint8_t> icon_group_resource();

// The icon as red, green, blue, alpha bytes, top row first; transparent
// pixels are 0, 0, 0, 0 and every other pixel is opaque.
std::vector<std::uint8_t> icon_rgba();

} // namespace assets
