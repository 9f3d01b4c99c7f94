#include "picture_decode.h"

#include "runtime.h"

#include <string>

namespace platform {

namespace {

// Large enough for any picture a window shows, small enough that a corrupted
// size cannot ask for gigabytes.
constexpr std::int64_t max_side = 8192;

[[noreturn]] void bad(std::string const& what)
{
    rt::raise(rt::ErrorCode::MalformedFormDescription, "picture file: " + what);
}

std::uint32_t u16_at(std::span<std::uint8_t const> b, std::size_t at)
{
    return b[at] | (static_cast<std::uint32_t>(b[at + 1]) << 8);
}

std::uint32_t u32_at(std::span<std::uint8_t const> b, std::size_t at)
{
    return u16_at(b, at) | (u16_at(b, at + 2) << 16);
}

std::int32_t i32_at(std::span<std::uint8_t const> b, std::size_t at)
{
    return static_cast<std::int32_t>(u32_at(b, at));
}

// The fields of a BITMAPINFOHEADER that both formats use.
struct InfoHeader {
    std::uint32_t size;
    std::int64_t width;
    std::int64_t height;
    std::uint32_t planes;
    std::uint32_t bits;
    std::uint32_t compression;
    std::uint32_t colors_used;
};

constexpr std::size_t info_header_size = 40;

InfoHeader read_info_header(std::span<std::uint8_t const> b)
{
    if (b.size() < info_header_size)
        bad("the bitmap header is cut short");
    InfoHeader h { u32_at(b, 0), i32_at(b, 4), i32_at(b, 8), u16_at(b, 12), u16_at(b, 14), u32_at(b, 16),
        u32_at(b, 32) };
    if (h.size < info_header_size || h.size > b.size())
        bad("bitmap header size " + std::to_string(h.size));
    if (h.planes != 1 || h.compression != 0)
        bad("only uncompressed single-plane bitmaps are stored");
    return h;
}

std::uint64_t row_stride(std::int64_t width, std::uint32_t bits)
{
    return (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
}

// The pixels of a BMP file that decode_bmp has checked.
void bmp_pixels(std::span<std::uint8_t const> file, Picture& picture)
{
    std::uint32_t const offset = u32_at(file, 10);
    bool const bottom_up = i32_at(file, 22) > 0;
    std::int64_t const width = picture.width;
    std::int64_t const height = picture.height;
    std::uint64_t const stride = row_stride(width, 24);
    picture.pixels.resize(static_cast<std::size_t>(width * height));
    for (std::int64_t y = 0; y < height; ++y) {
        std::int64_t const stored_row = bottom_up ? height - 1 - y : y;
        auto const row = file.subspan(offset + static_cast<std::size_t>(stored_row) * stride);
        for (std::int64_t x = 0; x < width; ++x) {
            auto const at = static_cast<std::size_t>(x) * 3;
            std::uint32_t const rgb = row[at] | (row[at + 1] << 8) | (static_cast<std::uint32_t>(row[at + 2]) << 16);
            picture.pixels[static_cast<std::size_t>(y * width + x)] = 0xFF000000u | rgb;
        }
    }
}

PictureRef decode_bmp(std::span<std::uint8_t const> file, bool defer_pixels)
{
    constexpr std::size_t file_header_size = 14;
    if (file.size() < file_header_size + info_header_size)
        bad("BMP file of " + std::to_string(file.size()) + " bytes is cut short");
    if (u32_at(file, 2) != file.size())
        bad("the BMP file size field disagrees with the stored size");
    std::uint32_t const offset = u32_at(file, 10);
    InfoHeader const h = read_info_header(file.subspan(file_header_size));
    if (h.bits != 24)
        bad("BMP with " + std::to_string(h.bits) + " bits per pixel; only 24 are stored");
    bool const bottom_up = h.height > 0;
    std::int64_t const height = bottom_up ? h.height : -h.height;
    if (h.width <= 0 || height <= 0 || h.width > max_side || height > max_side)
        bad("BMP size " + std::to_string(h.width) + " x " + std::to_string(h.height));
    std::uint64_t const stride = row_stride(h.width, 24);
    if (offset < file_header_size + h.size || offset > file.size()
        || stride * static_cast<std::uint64_t>(height) > file.size() - offset)
        bad("the BMP pixel data lies outside the file");

    auto picture = std::make_shared<Picture>();
    picture->width = static_cast<int>(h.width);
    picture->height = static_cast<int>(height);
    if (defer_pixels)
        picture->deferred = { file, bmp_pixels };
    else
        bmp_pixels(file, *picture);
    return picture;
}

PictureRef decode_ico(std::span<std::uint8_t const> file)
{
    constexpr std::size_t directory_size = 6;
    constexpr std::size_t entry_size = 16;
    if (file.size() < directory_size + entry_size)
        bad("ICO file of " + std::to_string(file.size()) + " bytes is cut short");
    std::uint32_t const count = u16_at(file, 4);
    if (count == 0 || directory_size + entry_size * count > file.size())
        bad("ICO directory of " + std::to_string(count) + " images does not fit the file");
    // The first image is the window's icon; any others would be other sizes of it.
    auto const entry = file.subspan(directory_size, entry_size);
    std::int64_t const width = entry[0] == 0 ? 256 : entry[0];
    std::int64_t const height = entry[1] == 0 ? 256 : entry[1];
    std::uint64_t const image_size = u32_at(entry, 8);
    std::uint64_t const image_offset = u32_at(entry, 12);
    if (image_offset < directory_size + entry_size * count || image_offset > file.size()
        || image_size > file.size() - image_offset)
        bad("the ICO image lies outside the file");
    auto const image = file.subspan(static_cast<std::size_t>(image_offset), static_cast<std::size_t>(image_size));

    InfoHeader const h = read_info_header(image);
    if (h.width != width || h.height != 2 * height)
        bad("the ICO image size disagrees with its directory entry");
    if (h.bits != 8)
        bad("ICO image with " + std::to_string(h.bits) + " bits per pixel; only 8 are stored");
    std::uint32_t const colors = h.colors_used == 0 ? 256 : h.colors_used;
    if (colors > 256)
        bad("ICO colour table of " + std::to_string(colors) + " entries");
    std::uint64_t const color_stride = row_stride(width, 8);
    std::uint64_t const mask_stride = row_stride(width, 1);
    std::uint64_t const palette_at = h.size;
    std::uint64_t const colors_at = palette_at + 4ull * colors;
    std::uint64_t const mask_at = colors_at + color_stride * static_cast<std::uint64_t>(height);
    if (mask_at + mask_stride * static_cast<std::uint64_t>(height) > image.size())
        bad("the ICO image is cut short");

    auto picture = std::make_shared<Picture>();
    picture->width = static_cast<int>(width);
    picture->height = static_cast<int>(height);
    picture->pixels.resize(static_cast<std::size_t>(width * height));
    for (std::int64_t y = 0; y < height; ++y) {
        // Rows are stored bottom row first, in the colour image and in the mask.
        std::uint64_t const stored_row = static_cast<std::uint64_t>(height - 1 - y);
        auto const color_row = image.subspan(static_cast<std::size_t>(colors_at + stored_row * color_stride));
        auto const mask_row = image.subspan(static_cast<std::size_t>(mask_at + stored_row * mask_stride));
        for (std::int64_t x = 0; x < width; ++x) {
            std::uint32_t const index = color_row[static_cast<std::size_t>(x)];
            if (index >= colors)
                bad("ICO pixel uses colour " + std::to_string(index) + " of " + std::to_string(colors));
            auto const entry_at = static_cast<std::size_t>(palette_at + 4ull * index);
            std::uint32_t const rgb = image[entry_at] | (image[entry_at + 1] << 8)
                | (static_cast<std::uint32_t>(image[entry_at + 2]) << 16);
            bool const transparent = (mask_row[static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1;
            picture->pixels[static_cast<std::size_t>(y * width + x)] = (transparent ? 0u : 0xFF000000u) | rgb;
        }
    }
    return picture;
}

} // namespace

PictureRef decode_picture(std::span<std::uint8_t const> file, bool defer_bitmap_pixels)
{
    if (file.size() >= 2 && file[0] == 'B' && file[1] == 'M')
        return decode_bmp(file, defer_bitmap_pixels);
    if (file.size() >= 4 && file[0] == 0 && file[1] == 0 && file[2] == 1 && file[3] == 0)
        return decode_ico(file);
    bad("neither a BMP nor an ICO file");
}

} // namespace platform
