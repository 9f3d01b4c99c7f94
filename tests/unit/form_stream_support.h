// Helpers for the tests of the packed window description: tiny BMP and ICO
// files written by hand, a small description with one element of each kind,
// and the error a piece of code raises.
#pragma once

#include "platform/runtime.h"
#include "raised_by.h"
#include "window/description.h"
#include "window/pack.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace form_stream_support {

using Bytes = std::vector<std::uint8_t>;

inline void put16(Bytes& b, unsigned v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void put32(Bytes& b, std::uint32_t v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// A 24-bit bottom-up BMP of the given 0xRRGGBB pixels, top row first.
inline Bytes bmp_file(int width, int height, std::vector<std::uint32_t> const& rgb)
{
    int const stride = (width * 3 + 3) / 4 * 4;
    Bytes b { 'B', 'M' };
    put32(b, static_cast<std::uint32_t>(54 + stride * height));
    put32(b, 0);
    put32(b, 54);
    for (std::uint32_t v : { 40u, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height) })
        put32(b, v);
    put16(b, 1);
    put16(b, 24);
    for (int i = 0; i < 6; ++i)
        put32(b, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t const c = rgb[static_cast<std::size_t>(y * width + x)];
            b.push_back(static_cast<std::uint8_t>(c));
            b.push_back(static_cast<std::uint8_t>(c >> 8));
            b.push_back(static_cast<std::uint8_t>(c >> 16));
        }
        b.insert(b.end(), static_cast<std::size_t>(stride - width * 3), 0);
    }
    return b;
}

// An 8-bit ICO of one square image: palette indices and transparency, top row first.
inline Bytes ico_file(int side, std::vector<std::uint32_t> const& palette, std::vector<std::uint8_t> const& index,
    std::vector<bool> const& transparent)
{
    int const color_stride = (side + 3) / 4 * 4;
    int const mask_stride = (side + 31) / 32 * 4;
    std::uint32_t const image_size = 40 + 4 * 256 + static_cast<std::uint32_t>((color_stride + mask_stride) * side);
    Bytes b;
    put16(b, 0);
    put16(b, 1);
    put16(b, 1);
    b.insert(b.end(), { static_cast<std::uint8_t>(side), static_cast<std::uint8_t>(side), 0, 0 });
    put16(b, 1);
    put16(b, 8);
    put32(b, image_size);
    put32(b, 22);
    for (std::uint32_t v : { 40u, static_cast<std::uint32_t>(side), static_cast<std::uint32_t>(2 * side) })
        put32(b, v);
    put16(b, 1);
    put16(b, 8);
    for (std::uint32_t v : { 0u, 0u, 0u, 0u, 256u, 0u })
        put32(b, v);
    for (std::size_t i = 0; i < 256; ++i) {
        std::uint32_t const c = i < palette.size() ? palette[i] : 0;
        b.insert(b.end(),
            { static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c >> 16), 0 });
    }
    for (int y = side - 1; y >= 0; --y) {
        for (int x = 0; x < side; ++x)
            b.push_back(index[static_cast<std::size_t>(y * side + x)]);
        b.insert(b.end(), static_cast<std::size_t>(color_stride - side), 0);
    }
    for (int y = side - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(mask_stride), 0);
        for (int x = 0; x < side; ++x)
            if (transparent[static_cast<std::size_t>(y * side + x)])
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

// A 2 x 2 icon: red and transparent above, green and blue below.
inline Bytes small_icon()
{
    return ico_file(2, { 0x000000, 0xFF0000, 0x00FF00, 0x0000FF }, { 1, 0, 2, 3 }, { false, true, false, false });
}

// Road picture k as a 2 x 1 bitmap whose first pixel tells k.
inline window::PictureFiles small_pictures()
{
    window::PictureFiles files;
    for (int k = 0; k < window::road_picture_count; ++k)
        files.road_pictures[static_cast<std::size_t>(k)] = bmp_file(2, 1, { static_cast<std::uint32_t>(k), 0xFFFFFF });
    files.icon = small_icon();
    return files;
}

// A window with one element of each kind, small enough to mutate byte by byte.
inline window::Window const& small_window()
{
    using namespace window;
    static constexpr std::string_view entries[] = { "0", "Я" };
    static constexpr ControlArray arrays[] = { { 1, "T" }, { 2, "P" }, { 3, "L" }, { 4, "C" } };
    static constexpr Element elements[] = {
        { "T", 0, { 1, 2, 3, 4 }, true, 3, TextBoxSettings { "ab\r\n", true, ScrollBars::Vertical, true } },
        { "P", 1, { 5, 6, 7, 8 }, false, 2, PictureBoxSettings { 1, false, true, "b" } },
        { "L", 0, { 9, 10, 11, 12 }, true, 1, ListBoxSettings { entries } },
        { "C", 2, { -1, 0, 5, 5 }, true, 0, LabelSettings { "Ж", 0x123456, Alignment::Centre } },
    };
    static constexpr Window w {
        .name = "F",
        .object_id = { 1, 2, 3, { 4, 5, 6, 7, 8, 9, 10, 11 } },
        .project_id = {},
        .caption = "x",
        .client_area = { 1, 2, 300, 400 },
        .back_color = 0xC0C0FF,
        .border_style = BorderStyle::FixedSingle,
        .max_button = false,
        .min_button = true,
        .font = { "Z", 204, 2, 700, 95000 },
        .has_icon = true,
        .designer_start_position = 1,
        .designer_tag = "",
        .designer_link_topic = "q",
        .arrays = arrays,
        .elements = elements,
    };
    return w;
}

using testing_support::error_of;

} // namespace form_stream_support
