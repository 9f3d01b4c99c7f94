#include "image.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace e2e {

std::string to_hex(Rgb colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(colour & 0xFFFFFF));
    return text;
}

Image Image::crop(Rect r) const
{
    Image part(r.w, r.h);
    for (int y = 0; y < r.h; ++y)
        for (int x = 0; x < r.w; ++x)
            part.set(x, y, at(r.x + x, r.y + y));
    return part;
}

void Image::save_ppm(std::string const& path) const
{
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << m_width << ' ' << m_height << "\n255\n";
    for (Rgb p : m_pixels) {
        char const rgb[3] = { static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p) };
        out.write(rgb, 3);
    }
}

Image load_bmp(std::string const& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> const bytes { std::istreambuf_iterator<char>(in), {} };
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24);
    };
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || (bytes[28] | bytes[29] << 8) != 24)
        return {};
    std::size_t const offset = u32(10);
    int const width = static_cast<int>(u32(18));
    int const raw_height = static_cast<int>(u32(22));
    int const height = raw_height < 0 ? -raw_height : raw_height;
    std::size_t const stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    if (width <= 0 || height <= 0 || offset + stride * height > bytes.size())
        return {};
    Image image(width, height);
    for (int row = 0; row < height; ++row) {
        int const y = raw_height < 0 ? row : height - 1 - row;
        unsigned char const* p = &bytes[offset + stride * row];
        for (int x = 0; x < width; ++x, p += 3)
            image.set(x, y, static_cast<Rgb>(p[2] << 16 | p[1] << 8 | p[0]));
    }
    return image;
}

} // namespace e2e
