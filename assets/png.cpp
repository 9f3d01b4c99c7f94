#include "png.h"

#include "icon.h"

#include <zlib.h>

#include <stdexcept>

namespace assets {

namespace {

void put_u32_be(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void put_chunk(std::vector<std::uint8_t>& out, char const (&type)[5], std::vector<std::uint8_t> const& data)
{
    put_u32_be(out, static_cast<std::uint32_t>(data.size()));
    std::size_t const crc_from = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong const crc = ::crc32(0, out.data() + crc_from, static_cast<uInt>(out.size() - crc_from));
    put_u32_be(out, static_cast<std::uint32_t>(crc));
}

std::vector<std::uint8_t> deflated(std::vector<std::uint8_t> const& raw)
{
    uLongf size = ::compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> out(size);
    if (::compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("encode_png: zlib could not compress the pixels");
    out.resize(size);
    return out;
}

} // namespace

std::vector<std::uint8_t> encode_png(int width, int height, std::vector<std::uint8_t> const& rgba)
{
    if (width <= 0 || height <= 0 || rgba.size() != static_cast<std::size_t>(width) * height * 4)
        throw std::invalid_argument("encode_png: the pixels do not match the size");

    std::vector<std::uint8_t> raw;
    std::size_t const row_bytes = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        auto const row = rgba.begin() + static_cast<std::ptrdiff_t>(y * row_bytes);
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(row_bytes));
    }

    std::vector<std::uint8_t> png { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    std::vector<std::uint8_t> header;
    put_u32_be(header, static_cast<std::uint32_t>(width));
    put_u32_be(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), { 8, 6, 0, 0, 0 }); // 8 bits, RGBA, deflate, no filter, no interlace
    put_chunk(png, "IHDR", header);
    put_chunk(png, "IDAT", deflated(raw));
    put_chunk(png, "IEND", {});
    return png;
}

std::vector<std::uint8_t> icon_png(int size)
{
    if (size <= 0)
        throw std::invalid_argument("icon_png: no size");
    std::vector<std::uint8_t> const art = icon_rgba();
    std::vector<std::uint8_t> scaled;
    scaled.reserve(static_cast<std::size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            // Centre to centre in whole numbers: (2x + 1) / 2 * 32 / size.
            std::size_t const from_x = static_cast<std::size_t>((2 * x + 1) * icon_size / (2 * size));
            std::size_t const from_y = static_cast<std::size_t>((2 * y + 1) * icon_size / (2 * size));
            auto const pixel = art.begin() + static_cast<std::ptrdiff_t>((from_y * icon_size + from_x) * 4);
            scaled.insert(scaled.end(), pixel, pixel + 4);
        }
    return encode_png(size, size, scaled);
}

} // namespace assets
