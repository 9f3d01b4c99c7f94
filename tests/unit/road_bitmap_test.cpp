// Checks the road pictures' bitmap files byte for byte: headers, bottom-up
// rows of blue-green-red triples, zero padding, and pixels that match the
// drawn picture in pure black and white.
#include "assets/road_pictures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::uint32_t u32_at(std::vector<std::uint8_t> const& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

unsigned u16_at(std::vector<std::uint8_t> const& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8;
}

} // namespace

TEST(RoadBitmap, HeadersHoldTheListedValues)
{
    struct Field {
        std::size_t offset;
        int width;
        std::uint32_t value;
        char const* name;
    };
    Field const fields[] = {
        { 0, 2, 'B' | 'M' << 8, "signature" },
        { 2, 4, 67854, "file size" },
        { 6, 4, 0, "reserved" },
        { 10, 4, 54, "pixel data offset" },
        { 14, 4, 40, "information header size" },
        { 18, 4, 150, "width" },
        { 22, 4, 150, "height, bottom row first" },
        { 26, 2, 1, "planes" },
        { 28, 2, 24, "bits per pixel" },
        { 30, 4, 0, "compression" },
        { 34, 4, 67800, "image size" },
        { 38, 4, 0, "horizontal resolution" },
        { 42, 4, 0, "vertical resolution" },
        { 46, 4, 0, "colours used" },
        { 50, 4, 0, "colours important" },
    };
    for (int k = 0; k < assets::road_picture_count; ++k) {
        std::vector<std::uint8_t> const bmp = assets::road_picture_bmp(k);
        ASSERT_EQ(bmp.size(), assets::road_picture_bmp_size);
        for (Field const& field : fields)
            EXPECT_EQ(field.width == 2 ? u16_at(bmp, field.offset) : u32_at(bmp, field.offset), field.value)
                << "picture " << k << ": " << field.name;
    }
}

TEST(RoadBitmap, RowsAreBottomFirstPaddedAndPureBlackOrWhite)
{
    constexpr std::size_t row_size = 452;
    for (int k = 0; k < assets::road_picture_count; ++k) {
        std::vector<std::uint8_t> const bmp = assets::road_picture_bmp(k);
        assets::RoadPicture const& picture = assets::draw_road_picture(k);
        for (int y = 0; y < assets::road_picture_size; ++y) {
            std::size_t const row = 54 + row_size * static_cast<std::size_t>(assets::road_picture_size - 1 - y);
            for (int x = 0; x < assets::road_picture_size; ++x) {
                std::size_t const at = row + 3 * static_cast<std::size_t>(x);
                std::uint8_t const level = picture.is_black(x, y) ? 0x00 : 0xFF;
                ASSERT_TRUE(bmp[at] == level && bmp[at + 1] == level && bmp[at + 2] == level)
                    << "picture " << k << " at " << x << ", " << y;
            }
            EXPECT_EQ(bmp[row + 450], 0) << "padding of row " << y;
            EXPECT_EQ(bmp[row + 451], 0) << "padding of row " << y;
        }
    }
    // The discs lie on rows 68-82 only; the stored first row is the picture's bottom row.
    EXPECT_EQ(assets::road_picture_bmp(0)[54], 0xFF);
    EXPECT_EQ(assets::road_picture_bmp(0)[54 + row_size * (149 - 75)], 0x00);
}
