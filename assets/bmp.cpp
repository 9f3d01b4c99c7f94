// Road pictures as 24-bit Windows bitmap files: file header, 40-byte
// information header, no colour table, rows bottom first, each padded to a
// multiple of four bytes.
#include "assets/byte_writer.h"
#include "assets/road_pictures.h"

#include <stdexcept>

namespace assets {

namespace {

constexpr std::uint32_t file_header_size = 14;
constexpr std::uint32_t info_header_size = 40;
constexpr std::uint32_t row_size = (road_picture_size * 3 + 3) / 4 * 4;
constexpr std::uint32_t image_size = row_size * road_picture_size;
static_assert(file_header_size + info_header_size + image_size == road_picture_bmp_size);

} // namespace

std::vector<std::uint8_t> encode_bmp(RoadPicture const& picture)
{
    ByteWriter out;
    out.u8('B');
    out.u8('M');
    out.u32(static_cast<std::uint32_t>(road_picture_bmp_size));
    out.u32(0); // two reserved fields
    out.u32(file_header_size + info_header_size);

    out.u32(info_header_size);
    out.u32(road_picture_size); // width
    out.u32(road_picture_size); // positive height: bottom row first
    out.u16(1); // planes
    out.u16(24); // bits per pixel
    out.u32(0); // no compression
    out.u32(image_size);
    out.u32(0); // horizontal and vertical resolution
    out.u32(0);
    out.u32(0); // colours used and important: no colour table
    out.u32(0);

    for (int y = road_picture_size - 1; y >= 0; --y) {
        for (int x = 0; x < road_picture_size; ++x) {
            unsigned const level = picture.is_black(x, y) ? 0x00 : 0xFF;
            out.u8(level); // blue, green, red
            out.u8(level);
            out.u8(level);
        }
        out.zeros(row_size - road_picture_size * 3);
    }
    if (out.size() != road_picture_bmp_size)
        throw std::logic_error("road picture bitmap has the wrong size");
    return out.take();
}

std::vector<std::uint8_t> road_picture_bmp(int k)
{
    return encode_bmp(draw_road_picture(k));
}

} // namespace assets
