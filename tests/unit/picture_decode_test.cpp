// Decoding of the picture files a window description stores: row order and
// padding of 24-bit bitmaps, colour table and mask of 8-bit icons, and the
// files that must be refused.
#include "form_stream_support.h"

#include "platform/picture_decode.h"

#include <gtest/gtest.h>

namespace {

using namespace form_stream_support;

TEST(PictureDecode, BitmapRowsComeTopFirstWithoutPadding)
{
    // 3 x 2 needs one padding byte per row; rows are stored bottom first.
    std::vector<std::uint32_t> const rgb = { 0x010203, 0x040506, 0x070809, 0xA0B0C0, 0xD0E0F0, 0xFFFFFF };
    auto const picture = platform::decode_picture(bmp_file(3, 2, rgb));
    ASSERT_EQ(picture->width, 3);
    ASSERT_EQ(picture->height, 2);
    for (std::size_t i = 0; i < rgb.size(); ++i)
        EXPECT_EQ(picture->pixels[i], 0xFF000000u | rgb[i]) << i;
}

TEST(PictureDecode, TopDownBitmapIsReadInItsOwnOrder)
{
    Bytes file = bmp_file(1, 2, { 0x111111, 0x222222 });
    file[22] = 0xFE; // height -2
    for (std::size_t i = 23; i < 26; ++i)
        file[i] = 0xFF;
    auto const picture = platform::decode_picture(file);
    EXPECT_EQ(picture->pixels, (std::vector<std::uint32_t> { 0xFF222222, 0xFF111111 }));
}

TEST(PictureDecode, IconMaskMakesPixelsTransparent)
{
    // 9 x 9 crosses a mask byte and needs colour-row padding.
    std::vector<std::uint8_t> index(81);
    std::vector<bool> transparent(81);
    for (std::size_t i = 0; i < 81; ++i) {
        index[i] = static_cast<std::uint8_t>(i % 3);
        transparent[i] = i % 9 == 8 || i < 9;
    }
    auto const picture = platform::decode_picture(ico_file(9, { 0x000000, 0x123456, 0xABCDEF }, index, transparent));
    ASSERT_EQ(picture->width, 9);
    ASSERT_EQ(picture->height, 9);
    std::uint32_t const colors[] = { 0x000000, 0x123456, 0xABCDEF };
    for (std::size_t i = 0; i < 81; ++i)
        EXPECT_EQ(picture->pixels[i], (transparent[i] ? 0u : 0xFF000000u) | colors[i % 3]) << i;
}

TEST(PictureDecode, BrokenFilesAreRefused)
{
    Bytes const bmp = bmp_file(2, 2, { 0, 0, 0, 0 });
    Bytes const ico = small_icon();
    auto changed = [](Bytes b, std::size_t at, std::uint8_t value) {
        b.at(at) = value;
        return b;
    };
    struct Case {
        char const* what;
        Bytes file;
    };
    Case const cases[] = {
        { "empty", {} },
        { "BMP header only", Bytes(bmp.begin(), bmp.begin() + 54) },
        { "BMP size field", changed(bmp, 2, 0) },
        { "BMP pixel offset beyond the file", changed(bmp, 11, 0x10) },
        { "BMP pixel offset inside the headers", changed(bmp, 10, 20) },
        { "BMP width 0", changed(bmp, 18, 0) },
        { "BMP height 0", changed(bmp, 22, 0) },
        { "BMP huge width", changed(bmp, 21, 0x40) },
        { "BMP two planes", changed(bmp, 26, 2) },
        { "BMP 32 bits", changed(bmp, 28, 32) },
        { "BMP compressed", changed(bmp, 30, 1) },
        { "BMP header size 12", changed(bmp, 14, 12) },
        { "ICO without images", changed(ico, 4, 0) },
        { "ICO directory too long", changed(ico, 4, 200) },
        { "ICO image beyond the file", changed(ico, 18, 0xF0) },
        { "ICO image size beyond the file", changed(ico, 15, 0x10) },
        { "ICO entry width disagrees", changed(ico, 6, 3) },
        { "ICO 4 bits", changed(ico, 22 + 14, 4) },
        { "ICO 300 colours", changed(changed(ico, 22 + 32, 0x2C), 22 + 33, 1) },
        { "ICO cut short", Bytes(ico.begin(), ico.end() - 1) },
    };
    for (auto const& c : cases)
        for (bool deferred : { false, true })
            EXPECT_EQ(
                error_of([&] { platform::decode_picture(c.file, deferred); }), rt::ErrorCode::MalformedFormDescription)
                << c.what << (deferred ? ", pixels deferred" : "");
}

// Pixels whose file has not arrived stay deferred, never decoded from
// bytes that are not there; once it has, they come.
TEST(PictureDecode, DeferredPixelsWaitForTheirFile)
{
    static bool arrived = false;
    platform::set_file_arrived([](std::span<std::uint8_t const>) { return arrived; });
    Bytes const file = bmp_file(1, 1, { 0x123456 });
    auto const picture = platform::decode_picture(file, true);
    picture->ensure_pixels();
    EXPECT_FALSE(picture->has_pixels());
    arrived = true;
    picture->ensure_pixels();
    platform::set_file_arrived(nullptr);
    ASSERT_TRUE(picture->has_pixels());
    EXPECT_EQ(picture->pixels[0], 0xFF123456u);
}

} // namespace
