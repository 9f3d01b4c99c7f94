// The geometry of the road pictures as plain data: the two point discs, the
// straight road and the six arches, each arch given by its end pixels, its apex
// row and the pixel rows it passes at a few sample columns. The drawing routine
// joins these fixed pixels; nothing here is computed.
#pragma once

#include <array>

namespace assets::geometry {

struct Point {
    int x;
    int y;
    friend bool operator==(Point, Point) = default;
};

// One run of rows of the left disc, all covering the same columns.
struct DiscSpan {
    int y_first;
    int y_last;
    int x_first;
    int x_last;
};

// The left disc touches the left edge; the right disc is the same shape moved
// this far to the right, so it touches the right edge.
inline constexpr DiscSpan left_disc[] = {
    { 68, 68, 5, 8 },
    { 69, 69, 3, 10 },
    { 70, 70, 2, 11 },
    { 71, 72, 1, 12 },
    { 73, 77, 0, 13 },
    { 78, 79, 1, 12 },
    { 80, 80, 2, 11 },
    { 81, 81, 3, 10 },
    { 82, 82, 5, 8 },
};
inline constexpr int right_disc_shift = 136;

// Road 1 runs straight along one row from disc to disc.
inline constexpr int straight_road_y = 74;
inline constexpr int straight_road_x_first = 14;
inline constexpr int straight_road_x_last = 135;

// Arches leave the discs from neighbouring edge pixels, so they may touch each
// other there: where both touching pixels lie at most this many pixels from a
// disc pixel, counted as max(|dx|, |dy|).
inline constexpr int disc_margin = 3;

enum class Side { above = -1, below = 1 };

inline constexpr std::array<int, 11> sample_x = { 20, 30, 40, 50, 60, 75, 90, 100, 110, 120, 129 };

struct Arch {
    int road;
    Side side;
    Point left_end;
    // The road ends in the first right end; where the second differs, the road
    // goes on from the first into it.
    Point right_end;
    Point right_end_last;
    int apex_y;
    int apex_x_first;
    int apex_x_last;
    // The row at each sample column; where the road is steep there, the pixel
    // farthest from the straight road.
    std::array<int, sample_x.size()> sample_y;
};

// Arches go alternately above and below, each outside those already on its side.
// Road 7 keeps its own sample rows even though they make it lopsided: its rows
// at x 60, 90 and 100 leave up to 2.8 pixels between the road and its mirror
// image, so that arch is symmetric only to within 3 pixels, not 2.
inline constexpr Arch arches[] = {
    // road side        left end   right end  (and last)  apex: y  x from-to   y at  20   30   40   50   60   75   90
    // 100  110  120  129
    { 2, Side::above, { 12, 69 }, { 137, 69 }, { 137, 69 }, 40, 72, 78,
        { 64, 58, 52, 47, 43, 40, 43, 47, 53, 59, 64 } },
    { 3, Side::below, { 13, 79 }, { 136, 79 }, { 136, 79 }, 108, 72, 78,
        { 83, 89, 95, 101, 105, 108, 105, 101, 95, 89, 84 } },
    { 4, Side::above, { 11, 69 }, { 138, 69 }, { 138, 69 }, 23, 71, 78,
        { 60, 50, 41, 33, 27, 23, 28, 34, 42, 52, 60 } },
    { 5, Side::below, { 12, 80 }, { 136, 80 }, { 136, 80 }, 125, 71, 78,
        { 88, 97, 106, 114, 121, 125, 121, 114, 105, 96, 87 } },
    { 6, Side::above, { 11, 68 }, { 139, 68 }, { 139, 68 }, 10, 75, 77,
        { 57, 45, 34, 24, 16, 10, 15, 23, 33, 44, 55 } },
    { 7, Side::below, { 12, 81 }, { 137, 81 }, { 137, 80 }, 138, 76, 78,
        { 91, 102, 113, 123, 131, 137, 134, 126, 115, 103, 91 } },
};

} // namespace assets::geometry
