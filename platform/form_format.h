// The layout of a packed window description: the constants that the packer
// (on the build machine) and the form reader share. All numbers in the stream
// are little-endian. Header-only and free of the rest of the platform.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace platform::form_format {

inline constexpr std::array<std::uint8_t, 4> magic = { 0xFF, 0xCC, 0x31, 0x00 };
inline constexpr std::uint8_t version = 0x05;
// {33AD4F3A-6699-11CF-B70C-00AA0060D393}, the class of a window, in its stored byte order.
inline constexpr std::array<std::uint8_t, 16> window_class_id
    = { 0x3A, 0x4F, 0xAD, 0x33, 0x99, 0x66, 0xCF, 0x11, 0xB7, 0x0C, 0x00, 0xAA, 0x00, 0x60, 0xD3, 0x93 };
inline constexpr std::size_t identifier_size = 16;
inline constexpr std::size_t reserved_size = 36;
// Magic, version, three identifiers and the reserved bytes; the byte count follows.
inline constexpr std::size_t header_size = magic.size() + 1 + 3 * identifier_size + reserved_size;

// The top bit of a record's size says that an element index follows the array number.
inline constexpr std::uint32_t index_flag = 0x80000000u;

enum Marker : std::uint8_t {
    elements_follow = 0x01,
    last_element = 0x02,
    another_element = 0x03,
    end_of_stream = 0x04,
    end_of_record = 0xFF,
};

enum class StoredKind : std::uint8_t { PictureBox = 0, Label = 1, TextBox = 2, ListBox = 8, Window = 13 };

inline constexpr std::uint8_t window_array_number = 0;

// Property codes, per kind. A record holds them in ascending order.
namespace window_code {
inline constexpr std::uint8_t caption = 0x01, back_color = 0x03, designer_tag = 0x19, border_style = 0x22, icon = 0x23,
                              designer_link_topic = 0x24, max_button = 0x26, min_button = 0x27, client_area = 0x35,
                              font = 0x40, start_position = 0x46;
}
namespace text_box_code {
inline constexpr std::uint8_t index = 0x01, place = 0x04, text = 0x0B, tab_index = 0x12, multi_line = 0x17,
                              scroll_bars = 0x18, locked = 0x2D;
}
namespace picture_box_code {
inline constexpr std::uint8_t index = 0x02, picture = 0x03, place = 0x05, visible = 0x0A, tab_index = 0x12,
                              designer_tag = 0x1A, auto_size = 0x23, border_style = 0x24;
}
namespace list_box_code {
inline constexpr std::uint8_t index = 0x01, place = 0x04, tab_index = 0x11, entries = 0x14, item_data = 0x21;
}
namespace label_code {
inline constexpr std::uint8_t caption = 0x01, index = 0x02, back_color = 0x03, place = 0x05, tab_index = 0x12,
                              alignment = 0x14;
}

inline constexpr std::uint8_t flag_off = 0x00;
inline constexpr std::uint8_t flag_on = 0xFF;

// A list of entries: count, this format number, then each entry's length and
// bytes. The per-entry numbers that follow it are a count and one 32-bit
// number per entry.
inline constexpr std::uint16_t list_format = 3;
inline constexpr std::uint8_t font_version = 1;
inline constexpr std::uint32_t font_size_scale = 10000;

// A picture record's value: length (file size + 8), "lt\0\0", file size, file.
inline constexpr std::array<std::uint8_t, 4> picture_signature = { 'l', 't', 0, 0 };
inline constexpr std::uint32_t picture_overhead = 8;

} // namespace platform::form_format
