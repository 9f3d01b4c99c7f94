// Checks the icon bytes field by field and decodes the image independently:
// what each colour covers must match the hamburger the icon is meant to show.
#include "assets/icon.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t u32_at(Bytes const& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint32_t u16_at(Bytes const& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8;
}

constexpr std::size_t palette_at = 40, pixels_at = palette_at + 1024, mask_at = pixels_at + 1024;

// Colour of pixel (x, y), y from the top, as 0xRRGGBB; -1 where the mask hides it.
std::int64_t colour_at(Bytes const& image, int x, int y)
{
    std::size_t const row = static_cast<std::size_t>(31 - y);
    bool const hidden = image[mask_at + row * 4 + static_cast<std::size_t>(x / 8)] >> (7 - x % 8) & 1;
    if (hidden)
        return -1;
    std::size_t const entry = palette_at + 4 * image[pixels_at + row * 32 + static_cast<std::size_t>(x)];
    return image[entry + 2] << 16 | image[entry + 1] << 8 | image[entry];
}

} // namespace

TEST(Icon, FileAndGroupHeadersHoldTheListedValues)
{
    Bytes const ico = assets::icon_ico();
    Bytes const group = assets::icon_group_resource();
    ASSERT_EQ(ico.size(), 2246U);
    ASSERT_EQ(group.size(), 20U);
    struct Field {
        std::size_t offset;
        int width;
        std::uint32_t ico, group;
    };
    Field const directory[] = {
        { 0, 2, 0, 0 }, { 2, 2, 1, 1 }, { 4, 2, 1, 1 }, // reserved, type icon, one image
        { 6, 1, 32, 32 }, { 7, 1, 32, 32 }, { 8, 1, 0, 0 }, { 9, 1, 0, 0 }, // size, colour count, reserved
        { 10, 2, 1, 1 }, { 12, 2, 8, 8 }, { 14, 4, 2224, 2224 }, // planes, bits per pixel, image size
    };
    for (Field const& f : directory) {
        auto const read = [&f](Bytes const& b) {
            return f.width == 1 ? b[f.offset] : f.width == 2 ? u16_at(b, f.offset) : u32_at(b, f.offset);
        };
        EXPECT_EQ(read(ico), f.ico) << "icon file offset " << f.offset;
        EXPECT_EQ(read(group), f.group) << "group offset " << f.offset;
    }
    EXPECT_EQ(u32_at(ico, 18), 22U) << "image offset";
    EXPECT_EQ(u16_at(group, 18), 30001U) << "image resource number";
    EXPECT_EQ(Bytes(ico.begin() + 22, ico.end()), assets::icon_image());
}

TEST(Icon, ImageHeaderColourTableMaskAndTrailingZeros)
{
    Bytes const image = assets::icon_image();
    ASSERT_EQ(image.size(), 2224U);
    std::uint32_t const header[] = { 40, 32, 64, 1 | 8 << 16, 0, 1152, 0, 0, 256 };
    for (std::size_t i = 0; i < std::size(header); ++i)
        EXPECT_EQ(u32_at(image, 4 * i), header[i]) << "header field " << i;
    std::uint32_t const system_colours[20]
        = { 0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0,
              0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF };
    for (std::size_t i = 0; i < 20; ++i) {
        std::size_t const entry = palette_at + 4 * (i < 10 ? i : 236 + i);
        EXPECT_EQ(image[entry + 2] << 16 | image[entry + 1] << 8 | image[entry], system_colours[i]) << "entry " << i;
    }
    for (std::size_t entry = 0; entry < 256; ++entry)
        EXPECT_EQ(image[palette_at + 4 * entry + 3], 0) << "entry " << entry;
    int transparent = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (colour_at(image, x, y) < 0) {
                ++transparent;
                EXPECT_EQ(image[pixels_at + static_cast<std::size_t>((31 - y) * 32 + x)], 0) << x << ", " << y;
            }
    EXPECT_EQ(transparent, 369);
    EXPECT_EQ(Bytes(image.end() - 8, image.end()), Bytes(8, 0));
}

TEST(Icon, EachColourHasItsCountAndItsPlace)
{
    struct Region {
        std::uint32_t rgb;
        int count, x_first, x_last, y_first, y_last;
    };
    Region const regions[] = {
        { 0xCC6600, 196, 0, 30, 3, 29 }, // buns
        { 0x663300, 127, 0, 30, 3, 29 }, { 0xFF9900, 61, 15, 30, 3, 29 }, // lit right half
        { 0x000000, 59, 0, 30, 15, 25 }, // sides and patty
        { 0x993300, 37, 0, 30, 3, 16 }, // top bun shading
        { 0xFFFF00, 33, 0, 30, 16, 22 }, // cheese
        { 0x444444, 25, 0, 30, 20, 25 }, // patty
        { 0xFFCC00, 21, 15, 30, 3, 29 }, { 0xFFCC33, 18, 0, 30, 3, 16 }, // sesame
        { 0xFF3300, 14, 15, 30, 17, 20 }, // tomato on the right
        { 0x00BB00, 14, 0, 15, 18, 21 }, // lettuce left of the middle
        { 0x660000, 13, 0, 15, 21, 29 }, // lower left of the bottom bun
        { 0xA0A0A4, 11, 0, 30, 20, 25 }, { 0x777777, 8, 0, 30, 20, 25 }, { 0x00AA00, 7, 0, 30, 12, 15 }, // lettuce tips
        { 0xFF9999, 6, 15, 30, 17, 20 }, { 0xDDDDDD, 4, 0, 30, 20, 25 }, { 0xFFFFFF, 1, 25, 25, 11, 11 }, // gleam
    };
    Bytes const image = assets::icon_image();
    std::map<std::int64_t, int> counts;
    int x_min = 32, x_max = -1, y_min = 32, y_max = -1;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            std::int64_t const colour = colour_at(image, x, y);
            ++counts[colour];
            if (colour < 0)
                continue;
            x_min = std::min(x_min, x), x_max = std::max(x_max, x), y_min = std::min(y_min, y),
            y_max = std::max(y_max, y);
            auto const region = std::find_if(
                std::begin(regions), std::end(regions), [colour](Region const& r) { return r.rgb == colour; });
            ASSERT_NE(region, std::end(regions)) << "unexpected colour " << std::hex << colour;
            EXPECT_TRUE(x >= region->x_first && x <= region->x_last && y >= region->y_first && y <= region->y_last)
                << std::hex << colour << std::dec << " at " << x << ", " << y;
        }
    for (Region const& r : regions)
        EXPECT_EQ(counts[r.rgb], r.count) << std::hex << r.rgb;
    EXPECT_EQ(counts.size(), std::size(regions) + 1);
    EXPECT_EQ(x_min, 0);
    EXPECT_EQ(x_max, 30);
    EXPECT_EQ(y_min, 3);
    EXPECT_EQ(y_max, 29);
    // The black outline closes both sides of the stack.
    for (int y = 15; y <= 25; ++y) {
        int left = 0, right = 31;
        while (left < 31 && colour_at(image, left, y) < 0)
            ++left;
        while (right > 0 && colour_at(image, right, y) < 0)
            --right;
        // The lettuce tip may stick out beyond the outline.
        if (colour_at(image, left, y) == 0x00AA00)
            ++left;
        EXPECT_EQ(colour_at(image, left, y), 0x000000) << "left side, row " << y;
        EXPECT_EQ(colour_at(image, right, y), 0x000000) << "right side, row " << y;
    }
}

TEST(Icon, RgbaMatchesTheImage)
{
    Bytes const image = assets::icon_image();
    Bytes const rgba = assets::icon_rgba();
    ASSERT_EQ(rgba.size(), 32U * 32U * 4U);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            std::size_t const at = static_cast<std::size_t>(y * 32 + x) * 4;
            std::int64_t const colour = colour_at(image, x, y);
            std::int64_t const expected = colour < 0 ? 0 : colour << 8 | 0xFF;
            EXPECT_EQ(static_cast<std::int64_t>(rgba[at]) << 24 | rgba[at + 1] << 16 | rgba[at + 2] << 8 | rgba[at + 3],
                expected)
                << x << ", " << y;
        }
}
