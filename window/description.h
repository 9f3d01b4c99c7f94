// The window description as data: everything the form engine creates before
// the program's code runs, element by element in creation order. Texts are
// UTF-8 here; the packer stores them in Windows-1251. Places are twips from the
// top-left corner of the client area. Nothing here knows a toolkit or pixels.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

namespace window {

// 0xRRGGBB.
using Color = std::uint32_t;

struct Place {
    std::int16_t left = 0;
    std::int16_t top = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
};

// A 16-byte identifier as it is usually written: {data1-data2-data3-data4}.
struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4 {};
};

enum class Alignment : std::uint8_t { Left = 0, Right = 1, Centre = 2 };
enum class ScrollBars : std::uint8_t { None = 0, Horizontal = 1, Vertical = 2, Both = 3 };
enum class BorderStyle : std::uint8_t { None = 0, FixedSingle = 1, Sizable = 2 };

// Which road picture (0 to 7) a picture box holds when created.
inline constexpr int no_picture = -1;

struct TextBoxSettings {
    std::string_view text;
    bool multi_line = false;
    ScrollBars scroll_bars = ScrollBars::None;
    bool locked = false;
};

struct PictureBoxSettings {
    int road_picture = no_picture;
    bool border = true;
    bool auto_size = false;
    // Kept in the stored form for the forms designer; nothing reads it.
    std::string_view designer_tag;
};

struct ListBoxSettings {
    std::span<std::string_view const> entries;
};

struct LabelSettings {
    std::string_view caption;
    Color back_color = 0xFFFFFF;
    Alignment alignment = Alignment::Centre;
};

// The kind of an element is the kind of its settings.
using Settings = std::variant<TextBoxSettings, PictureBoxSettings, ListBoxSettings, LabelSettings>;

struct Element {
    std::string_view array;
    std::int16_t index = 0;
    Place place;
    bool visible = true;
    std::int16_t tab_index = 0;
    Settings settings;
};

// A control array and the number the stored form knows it by.
struct ControlArray {
    std::uint8_t number = 0;
    std::string_view name;
};

struct Font {
    std::string_view name;
    std::uint16_t charset = 0;
    std::uint8_t style = 0; // 1 bold, 2 italic, 4 underline, 8 struck out
    std::uint16_t weight = 400;
    std::uint32_t size_points_x10000 = 0;
};

// The window's place on the screen and its client area size, in twips.
struct ClientArea {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct Window {
    std::string_view name;
    Guid object_id;
    Guid project_id;
    std::string_view caption;
    ClientArea client_area;
    Color back_color = 0xC0C0C0;
    BorderStyle border_style = BorderStyle::Sizable;
    bool max_button = true;
    bool min_button = true;
    Font font;
    bool has_icon = false;
    // Kept in the stored form for the forms designer; nothing reads them.
    std::uint8_t designer_start_position = 0;
    std::string_view designer_tag;
    std::string_view designer_link_topic;

    std::span<ControlArray const> arrays;
    std::span<Element const> elements;
};

// The program's one window, Tavrel_Oskund.
Window const& tavrel_oskund();

} // namespace window
