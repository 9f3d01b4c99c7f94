// The eight road pictures: road picture k shows the two point discs of a
// segment joined by k roads (0 to 7), black on white, 150 x 150 pixels. They are
// drawn from the geometry in road_geometry.h and handed out as bitmap files; this
// library draws nothing on screen and knows no toolkit.
#pragma once

#include <cstdint>
#include <vector>

namespace assets {

constexpr int road_picture_size = 150;
constexpr int road_picture_count = 8;

// Size of a road picture as a 24-bit bitmap file.
constexpr std::size_t road_picture_bmp_size = 67854;

// A black-and-white raster, top row first.
class RoadPicture {
public:
    RoadPicture()
        : m_black(road_picture_size * road_picture_size, false)
    { }

    bool is_black(int x, int y) const { return m_black[index(x, y)]; }
    void set_black(int x, int y) { m_black[index(x, y)] = true; }

    friend bool operator==(RoadPicture const&, RoadPicture const&) = default;

private:
    static std::size_t index(int x, int y);
    std::vector<bool> m_black;
};

// Road picture k, 0 <= k < road_picture_count; throws std::out_of_range otherwise.
RoadPicture const& draw_road_picture(int k);

// Road picture k as a complete 24-bit bottom-up BMP file (road_picture_bmp_size bytes).
std::vector<std::uint8_t> road_picture_bmp(int k);

// Any black-and-white raster of road picture size as such a file.
std::vector<std::uint8_t> encode_bmp(RoadPicture const& picture);

} // namespace assets
