// A picture as the control model holds it: its size and its pixels, which a
// picture read from the window description may get only when first needed.
// Below the control model and the decoder alike; knows neither.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace platform {

struct Picture;

// Pixels that nobody has needed yet: the checked file they are decoded from
// and the decoder that does it. Set by the decoder alone.
struct DeferredPixels {
    std::span<std::uint8_t const> file;
    void (*decode)(std::span<std::uint8_t const> file, Picture& picture) = nullptr;
};

// An image, top row first, one 0xAARRGGBB value per pixel. Bitmaps are fully
// opaque; an icon's transparent pixels have alpha 0.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    DeferredPixels deferred;

    // Whether there is something to draw: a size, and a pixel for each place.
    bool has_pixels() const;
    // Decodes deferred pixels once their file has arrived; a picture that has
    // its pixels is left alone.
    void ensure_pixels() const;

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
using PictureRef = std::shared_ptr<Picture const>;

// Whether all bytes of a deferred file are in memory yet. A program whose
// description arrives in parts (the page) sets it: until a file's bytes have
// arrived, its pixels stay deferred rather than be decoded from what is not
// there. Unset, every file is there.
using FileArrived = bool (*)(std::span<std::uint8_t const> file);
void set_file_arrived(FileArrived arrived);

// The picture's pixels as R, G, B, A bytes, top row first: the layout that
// toolkit images and page canvases take.
std::vector<std::uint8_t> rgba_bytes(Picture const& picture);

} // namespace platform
