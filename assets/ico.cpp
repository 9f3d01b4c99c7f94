// Encodes the icon art as an 8-bit Windows icon: a device-independent bitmap
// twice the icon's height (colour indices, then the transparency mask), with
// a 256-entry colour table, wrapped in an icon directory or named by an icon
// group resource.
#include "assets/byte_writer.h"
#include "assets/icon.h"
#include "assets/icon_art.h"

#include <algorithm>
#include <stdexcept>

namespace assets {

namespace {

constexpr std::uint32_t info_header_size = 40;
constexpr std::size_t mask_row_size = icon_size / 8; // already a multiple of 4 bytes
constexpr std::size_t pixels_and_mask_size = icon_size * icon_size + mask_row_size * icon_size;
// The image carries 8 zero bytes beyond its parts, and its size says so.
constexpr std::size_t trailing_zeros = 8;
constexpr std::size_t palette_entries = 256;
constexpr std::uint32_t ico_header_size = 6 + 16;
static_assert(info_header_size + 4 * palette_entries + pixels_and_mask_size + trailing_zeros == icon_image_size);
static_assert(ico_header_size + icon_image_size == icon_ico_size);

// Colour-table index of each pixel, top row first; transparent pixels are
// index 0 (black), as the mask hides them.
std::vector<std::uint8_t> colour_indices(std::array<std::uint32_t, 256> const& table)
{
    std::vector<std::uint8_t> indices;
    for (std::string_view row : icon_art::rows) {
        if (row.size() != icon_size)
            throw std::logic_error("icon art: a row is not 32 pixels wide");
        for (char paint : row) {
            auto const colour = icon_art::colour_of(paint);
            auto const found = colour ? std::find(table.begin(), table.end(), *colour) : table.begin();
            if (found == table.end())
                throw std::logic_error("icon art: a colour missing from the colour table");
            indices.push_back(static_cast<std::uint8_t>(found - table.begin()));
        }
    }
    return indices;
}

bool transparent(int x, int y)
{
    return icon_art::rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '.';
}

void write_entry_fields(ByteWriter& out)
{
    out.u8(icon_size); // width
    out.u8(icon_size); // height
    out.u8(0); // colour count: 0 for 256 colours
    out.u8(0); // reserved
    out.u16(1); // planes
    out.u16(8); // bits per pixel
    out.u32(static_cast<std::uint32_t>(icon_image_size));
}

} // namespace

std::vector<std::uint8_t> icon_image()
{
    auto const table = icon_art::colour_table();
    ByteWriter out;
    out.u32(info_header_size);
    out.u32(icon_size); // width
    out.u32(2 * icon_size); // colour image and mask together
    out.u16(1); // planes
    out.u16(8); // bits per pixel
    out.u32(0); // no compression
    out.u32(static_cast<std::uint32_t>(pixels_and_mask_size));
    out.u32(0); // horizontal and vertical resolution
    out.u32(0);
    out.u32(palette_entries); // colours used
    out.u32(0); // colours important

    for (std::uint32_t rgb : table) {
        out.u8(rgb & 0xFF);
        out.u8(rgb >> 8 & 0xFF);
        out.u8(rgb >> 16 & 0xFF);
        out.u8(0);
    }
    auto const indices = colour_indices(table);
    for (int y = icon_size - 1; y >= 0; --y)
        for (int x = 0; x < icon_size; ++x)
            out.u8(indices[static_cast<std::size_t>(y * icon_size + x)]);
    for (int y = icon_size - 1; y >= 0; --y)
        for (int byte = 0; byte < icon_size / 8; ++byte) {
            unsigned bits = 0;
            for (int bit = 0; bit < 8; ++bit)
                bits = bits << 1 | (transparent(byte * 8 + bit, y) ? 1U : 0U);
            out.u8(bits);
        }
    out.zeros(trailing_zeros);
    if (out.size() != icon_image_size)
        throw std::logic_error("icon image has the wrong size");
    return out.take();
}

// The head shared by the icon file and the icon group resource: reserved,
// type icon, one image, and that image's size and colour fields.
static void write_directory(ByteWriter& out)
{
    out.u16(0);
    out.u16(1);
    out.u16(1);
    write_entry_fields(out);
}

std::vector<std::uint8_t> icon_ico()
{
    ByteWriter out;
    write_directory(out);
    out.u32(ico_header_size); // where the image starts
    out.bytes(icon_image());
    return out.take();
}

std::vector<std::uint8_t> icon_group_resource()
{
    ByteWriter out;
    write_directory(out);
    out.u16(icon_image_resource_id);
    return out.take();
}

std::vector<std::uint8_t> icon_rgba()
{
    std::vector<std::uint8_t> rgba;
    for (std::string_view row : icon_art::rows)
        for (char paint : row) {
            auto const colour = icon_art::colour_of(paint);
            std::uint32_t const rgb = colour.value_or(0);
            rgba.push_back(static_cast<std::uint8_t>(rgb >> 16));
            rgba.push_back(static_cast<std::uint8_t>(rgb >> 8 & 0xFF));
            rgba.push_back(static_cast<std::uint8_t>(rgb & 0xFF));
            rgba.push_back(colour ? 0xFF : 0x00);
        }
    return rgba;
}

} // namespace assets
