// Packs the window description into the byte stream the form engine reads.
// Runs on the build machine (tavrel_pack) and in the unit tests.
#pragma once

#include "assets/byte_writer.h"
#include "description.h"

#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace window {

// A description that the stream cannot hold as written: the build stops.
class PackError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr int road_picture_count = 8;

// The files of the pictures a description refers to: road picture k as a BMP
// file, the window icon as an ICO file. A picture whose file is empty is left
// out of the stream, and the box or window it belongs to starts without one.
struct PictureFiles {
    std::array<std::vector<std::uint8_t>, road_picture_count> road_pictures;
    std::vector<std::uint8_t> icon;
};

// The whole stream: header, the window's record and one record per element.
// Checks the description on the way (known arrays, one kind per array, unique
// elements and tab indices, texts in Windows-1251 that fit their lengths,
// settings the kind can store) and raises PackError where it fails.
std::vector<std::uint8_t> pack(Window const& window, PictureFiles const& pictures = {});

// Appends one picture property: the code, the record length (file size + 8),
// "lt" and two zero bytes, the file size and the file itself.
void append_picture_record(assets::ByteWriter& out, std::uint8_t code, std::span<std::uint8_t const> file);

} // namespace window
