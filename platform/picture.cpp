#include "picture.h"

namespace platform {

namespace {

FileArrived file_arrived = nullptr;

} // namespace

void set_file_arrived(FileArrived arrived)
{
    file_arrived = arrived;
}

bool Picture::has_pixels() const
{
    return width > 0 && height > 0
        && pixels.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

void Picture::ensure_pixels() const
{
    if (!deferred.decode || (file_arrived && !file_arrived(deferred.file)))
        return;
    // Pictures are shared as const; filling in the pixels they stand for
    // changes nothing anyone could see in them before.
    auto& filled = const_cast<Picture&>(*this);
    filled.deferred.decode(filled.deferred.file, filled);
    filled.deferred = {};
}

std::vector<std::uint8_t> rgba_bytes(Picture const& picture)
{
    std::vector<std::uint8_t> rgba;
    rgba.reserve(picture.pixels.size() * 4);
    for (std::uint32_t argb : picture.pixels)
        for (int shift : { 16, 8, 0, 24 })
            rgba.push_back(static_cast<std::uint8_t>(argb >> shift));
    return rgba;
}

} // namespace platform
