// Pixels read back from the screen, and the rectangles the tests speak in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;

    bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
    friend bool operator==(Rect const&, Rect const&) = default;
};

// 0xRRGGBB.
using Rgb = std::uint32_t;

std::string to_hex(Rgb colour);

class Image {
public:
    Image() = default;
    Image(int width, int height)
        : m_width(width)
        , m_height(height)
        , m_pixels(static_cast<std::size_t>(width) * height, 0)
    { }

    int width() const { return m_width; }
    int height() const { return m_height; }
    Rgb at(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }
    void set(int x, int y, Rgb colour) { m_pixels[static_cast<std::size_t>(y) * m_width + x] = colour; }

    Image crop(Rect r) const;
    // Binary PPM, for looking at a failure by eye.
    void save_ppm(std::string const& path) const;

    friend bool operator==(Image const&, Image const&) = default;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<Rgb> m_pixels;
};

// A 24-bit BMP file (bottom-up or top-down); an empty image when the file is
// missing or not such a bitmap.
Image load_bmp(std::string const& path);

} // namespace e2e
