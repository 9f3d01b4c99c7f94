// The hamburger icon as pixel art, one character per colour, and the colour
// table its image is stored with. Used by ico.cpp only.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace assets::icon_art {

// Row y of the picture, top row first; '.' is transparent.
extern std::array<std::string_view, 32> const rows;

// The colour (0xRRGGBB) a character paints; nothing for '.'. Throws
// std::logic_error for a character that names no colour.
std::optional<std::uint32_t> colour_of(char paint);

// The 256 colours (0xRRGGBB) of the icon's colour table.
std::array<std::uint32_t, 256> colour_table();

} // namespace assets::icon_art
