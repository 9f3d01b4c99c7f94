// The desktop icon PNG, checked with zlib's own decoder and CRC.
#include "assets/icon.h"
#include "assets/png.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

namespace {

std::uint32_t be32(std::vector<std::uint8_t> const& b, std::size_t at)
{
    return std::uint32_t(b[at]) << 24 | std::uint32_t(b[at + 1]) << 16 | std::uint32_t(b[at + 2]) << 8 | b[at + 3];
}

} // namespace

// Every size the desktop theme gets: valid chunks, and each pixel exactly the
// art's pixel under its centre (no smoothing, no shift, no new colour).
TEST(IconPng, DecodesToTheIconPixelsAtEveryDesktopSize)
{
    std::vector<std::uint8_t> const art = assets::icon_rgba();
    for (int const size : assets::desktop_icon_sizes) {
        SCOPED_TRACE("size " + std::to_string(size));
        std::vector<std::uint8_t> const png = assets::icon_png(size);
        ASSERT_GE(png.size(), 8u);
        EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");

        std::vector<std::string> types;
        std::vector<std::uint8_t> idat;
        for (std::size_t at = 8; at + 12 <= png.size();) {
            std::uint32_t const length = be32(png, at);
            ASSERT_LE(at + 12 + length, png.size());
            std::string const type(
                png.begin() + static_cast<std::ptrdiff_t>(at + 4), png.begin() + static_cast<std::ptrdiff_t>(at + 8));
            uLong const crc = ::crc32(0, png.data() + at + 4, 4 + length);
            EXPECT_EQ(crc, be32(png, at + 8 + length)) << type;
            if (type == "IHDR") {
                EXPECT_EQ(be32(png, at + 8), std::uint32_t(size));
                EXPECT_EQ(be32(png, at + 12), std::uint32_t(size));
                EXPECT_EQ(png[at + 16], 8) << "bit depth";
                EXPECT_EQ(png[at + 17], 6) << "RGBA";
            }
            if (type == "IDAT")
                idat.insert(idat.end(), png.begin() + static_cast<std::ptrdiff_t>(at + 8),
                    png.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
            types.push_back(type);
            at += 12 + length;
        }
        EXPECT_EQ(types, (std::vector<std::string> { "IHDR", "IDAT", "IEND" }));

        std::size_t const row = 1 + std::size_t(size) * 4;
        std::vector<std::uint8_t> raw(size * row);
        uLongf raw_size = raw.size();
        ASSERT_EQ(::uncompress(raw.data(), &raw_size, idat.data(), idat.size()), Z_OK);
        ASSERT_EQ(raw_size, raw.size());
        double const step = 32.0 / size;
        for (int y = 0; y < size; ++y) {
            EXPECT_EQ(raw[y * row], 0) << "filter of row " << y;
            for (int x = 0; x < size; ++x) {
                auto const from = std::size_t((y + 0.5) * step) * 32 + std::size_t((x + 0.5) * step);
                for (int c = 0; c < 4; ++c)
                    ASSERT_EQ(raw[y * row + 1 + x * 4 + c], art[from * 4 + c]) << "pixel " << x << "," << y;
            }
        }
    }
}

TEST(IconPng, RefusesPixelsThatDoNotMatchTheSize)
{
    EXPECT_THROW(assets::encode_png(2, 2, std::vector<std::uint8_t>(15)), std::invalid_argument);
    EXPECT_THROW(assets::encode_png(0, 1, {}), std::invalid_argument);
    // A picture larger than 64 KiB of scanlines still decodes.
    std::vector<std::uint8_t> const big(200 * 100 * 4, 0x5A);
    std::vector<std::uint8_t> const png = assets::encode_png(200, 100, big);
    std::vector<std::uint8_t> raw(100 * (1 + 800));
    uLongf raw_size = raw.size();
    std::size_t const idat_length = be32(png, 33);
    ASSERT_EQ(::uncompress(raw.data(), &raw_size, png.data() + 41, idat_length), Z_OK);
    EXPECT_EQ(raw_size, raw.size());
}
