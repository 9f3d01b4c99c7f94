// Checks the drawn road pictures against the geometry they must show. The
// expected values are written out here again, independently of the drawing
// data, so a slip in either shows up. Road k is what picture k adds to k - 1.
#include "assets/road_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

using assets::draw_road_picture;

namespace {

using Pixel = std::pair<int, int>; // x, y
using Pixels = std::set<Pixel>;

constexpr int size = assets::road_picture_size;
constexpr int sample_x[] = { 20, 30, 40, 50, 60, 75, 90, 100, 110, 120, 129 };

struct Road {
    int number;
    int side; // -1 above the straight road, +1 below, 0 the straight road
    std::vector<Pixel> left_ends, right_ends;
    int apex_y, apex_x_first, apex_x_last;
    std::vector<int> sample_y;
    double curve_tolerance, mirror_tolerance;
};

// Road 7 cannot be closer to its mirror image than 2.8 pixels: its sample rows
// at x 60, 90 and 100 are lopsided themselves.
std::vector<Road> const roads = {
    { 1, 0, { { 14, 74 } }, { { 135, 74 } }, 74, 14, 135, {}, 0, 0 },
    { 2, -1, { { 12, 69 } }, { { 137, 69 } }, 40, 72, 78, { 64, 58, 52, 47, 43, 40, 43, 47, 53, 59, 64 }, 1.5, 2 },
    { 3, 1, { { 13, 79 } }, { { 136, 79 } }, 108, 72, 78, { 83, 89, 95, 101, 105, 108, 105, 101, 95, 89, 84 }, 1.5, 2 },
    { 4, -1, { { 11, 69 } }, { { 138, 69 } }, 23, 71, 78, { 60, 50, 41, 33, 27, 23, 28, 34, 42, 52, 60 }, 1.5, 2 },
    { 5, 1, { { 12, 80 } }, { { 136, 80 } }, 125, 71, 78, { 88, 97, 106, 114, 121, 125, 121, 114, 105, 96, 87 }, 1.5,
        2 },
    { 6, -1, { { 11, 68 } }, { { 139, 68 } }, 10, 75, 77, { 57, 45, 34, 24, 16, 10, 15, 23, 33, 44, 55 }, 1.5, 2 },
    { 7, 1, { { 12, 81 } }, { { 137, 81 }, { 137, 80 } }, 138, 76, 78,
        { 91, 102, 113, 123, 131, 137, 134, 126, 115, 103, 91 }, 3, 3 },
};

Pixels discs()
{
    struct Span {
        int y, x_first, x_last;
    };
    Span const left[] = { { 68, 5, 8 }, { 69, 3, 10 }, { 70, 2, 11 }, { 71, 1, 12 }, { 72, 1, 12 }, { 73, 0, 13 },
        { 74, 0, 13 }, { 75, 0, 13 }, { 76, 0, 13 }, { 77, 0, 13 }, { 78, 1, 12 }, { 79, 1, 12 }, { 80, 2, 11 },
        { 81, 3, 10 }, { 82, 5, 8 } };
    Pixels pixels;
    for (auto const& span : left)
        for (int x = span.x_first; x <= span.x_last; ++x) {
            pixels.insert({ x, span.y });
            pixels.insert({ x + 136, span.y });
        }
    return pixels;
}

Pixels black_pixels(int k)
{
    Pixels pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (draw_road_picture(k).is_black(x, y))
                pixels.insert({ x, y });
    return pixels;
}

Pixels road_pixels(int k)
{
    Pixels road = black_pixels(k);
    for (Pixel p : black_pixels(k - 1))
        road.erase(p);
    return road;
}

bool touch(Pixel a, Pixel b)
{
    return a != b && std::abs(a.first - b.first) <= 1 && std::abs(a.second - b.second) <= 1;
}

int neighbours(Pixels const& pixels, Pixel p)
{
    return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [p](Pixel q) { return touch(p, q); }));
}

// Roads leave the discs from neighbouring pixels and may touch only there:
// within 3 pixels of a disc pixel, counted as max(|dx|, |dy|).
bool near_disc(Pixel p)
{
    static Pixels const disc = discs();
    return std::any_of(disc.begin(), disc.end(),
        [p](Pixel d) { return std::max(std::abs(p.first - d.first), std::abs(p.second - d.second)) <= 3; });
}

int components(Pixels pixels)
{
    int count = 0;
    while (!pixels.empty()) {
        ++count;
        std::vector<Pixel> todo = { *pixels.begin() };
        pixels.erase(pixels.begin());
        while (!todo.empty()) {
            Pixel const p = todo.back();
            todo.pop_back();
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (pixels.erase({ p.first + dx, p.second + dy }) != 0)
                        todo.push_back({ p.first + dx, p.second + dy });
        }
    }
    return count;
}

// How far a pixel lies from the road's straight line, on the road's own side.
int outward(Road const& road, int y)
{
    return (y - 74) * road.side;
}

// Distance from p to the cubic Bezier curve from end to end whose inner control
// points both lie midway between the ends, 4/3 of the apex height out.
double curve_distance(Road const& road, Pixel p)
{
    double const x0 = road.left_ends[0].first, x3 = road.right_ends[0].first, y0 = road.left_ends[0].second;
    double const cx = (x0 + x3) / 2, cy = y0 + 4.0 / 3.0 * (road.apex_y - y0);
    double best = 1e9;
    for (int i = 0; i <= 1000; ++i) {
        double const t = i / 1000.0, u = 1 - t, inner = 3 * u * t; // both inner terms together
        double const x = u * u * u * x0 + inner * cx + t * t * t * x3;
        double const y = u * u * u * y0 + inner * cy + t * t * t * y0;
        best = std::min(best, std::hypot(x - p.first, y - p.second));
    }
    return best;
}

} // namespace

TEST(RoadPictures, BlackPixelCountsAndNothingButDiscsInPictureZero)
{
    int const expected[] = { 324, 446, 572, 696, 824, 949, 1089, 1228 };
    for (int k = 0; k < assets::road_picture_count; ++k)
        EXPECT_EQ(black_pixels(k).size(), static_cast<std::size_t>(expected[k])) << "picture " << k;
    EXPECT_EQ(black_pixels(0), discs());
    EXPECT_THROW(draw_road_picture(-1), std::out_of_range);
    EXPECT_THROW(draw_road_picture(8), std::out_of_range);
}

TEST(RoadPictures, EachPictureAddsOneRoadAndMovesNothing)
{
    for (int k = 1; k < assets::road_picture_count; ++k) {
        Pixels const before = black_pixels(k - 1), after = black_pixels(k);
        EXPECT_TRUE(std::includes(after.begin(), after.end(), before.begin(), before.end())) << "picture " << k;
        // Away from the discs, where the roads may touch, each road is a piece of its own.
        Pixels apart;
        for (Pixel p : after)
            if (!near_disc(p))
                apart.insert(p);
        EXPECT_EQ(components(apart), k) << "picture " << k;
    }
}

TEST(RoadPictures, EveryRoadIsAThinUnbrokenLineFromDiscToDisc)
{
    Pixels const disc = discs();
    for (Road const& road : roads) {
        SCOPED_TRACE(road.number);
        Pixels const pixels = road_pixels(road.number);
        EXPECT_EQ(components(pixels), 1);
        // One pixel wide: a simple path, each pixel touching only the one before and after it.
        Pixel const first = road.left_ends.front(), last = road.right_ends.back();
        for (Pixel p : pixels)
            EXPECT_EQ(neighbours(pixels, p), p == first || p == last ? 1 : 2) << p.first << ", " << p.second;
        for (auto const& ends : { road.left_ends, road.right_ends })
            for (Pixel end : ends) {
                EXPECT_EQ(pixels.count(end), 1U) << end.first << ", " << end.second;
                EXPECT_GT(neighbours(disc, end), 0) << end.first << ", " << end.second;
            }
    }
}

TEST(RoadPictures, ApexRowsAndSampleRows)
{
    for (Road const& road : roads) {
        SCOPED_TRACE(road.number);
        Pixels const pixels = road_pixels(road.number);
        int far_out = 0;
        for (Pixel p : pixels)
            far_out = std::max(far_out, outward(road, p.second));
        EXPECT_EQ(far_out, outward(road, road.apex_y));
        std::vector<int> apex_x;
        for (Pixel p : pixels)
            if (p.second == road.apex_y)
                apex_x.push_back(p.first);
        ASSERT_FALSE(apex_x.empty());
        EXPECT_EQ(apex_x.front(), road.apex_x_first);
        EXPECT_EQ(apex_x.back(), road.apex_x_last);
        EXPECT_EQ(apex_x.size(), static_cast<std::size_t>(road.apex_x_last - road.apex_x_first + 1));
        for (std::size_t i = 0; i < road.sample_y.size(); ++i) {
            int farthest = -size;
            for (Pixel p : pixels)
                if (p.first == sample_x[i])
                    farthest = std::max(farthest, outward(road, p.second));
            EXPECT_EQ(farthest, outward(road, road.sample_y[i])) << "x " << sample_x[i];
        }
    }
}

TEST(RoadPictures, ArchesFollowTheirCurveAndAreNearlySymmetric)
{
    for (Road const& road : roads) {
        if (road.side == 0)
            continue;
        SCOPED_TRACE(road.number);
        Pixels const pixels = road_pixels(road.number);
        for (Pixel p : pixels) {
            EXPECT_LE(curve_distance(road, p), road.curve_tolerance) << p.first << ", " << p.second;
            double mirror_gap = 1e9;
            for (Pixel q : pixels)
                mirror_gap = std::min(mirror_gap, std::hypot(size - 1 - p.first - q.first, p.second - q.second));
            EXPECT_LE(mirror_gap, road.mirror_tolerance) << p.first << ", " << p.second;
        }
    }
}

TEST(RoadPictures, RoadsTouchOnlyNearTheDiscsAndNewArchesLieOutside)
{
    for (std::size_t a = 0; a < roads.size(); ++a) {
        Pixels const inner = road_pixels(roads[a].number);
        for (std::size_t b = a + 1; b < roads.size(); ++b) {
            Pixels const outer = road_pixels(roads[b].number);
            for (Pixel p : inner)
                for (Pixel q : outer)
                    EXPECT_TRUE(!touch(p, q) || (near_disc(p) && near_disc(q)))
                        << roads[a].number << " at " << p.first << ", " << p.second << " and " << roads[b].number
                        << " at " << q.first << ", " << q.second;
            if (b != a + 2 && a != 0)
                continue;
            // Column by column, the outer arch lies wholly beyond the one inside it.
            for (int x = 17; x <= 132; ++x) {
                int inner_far = -size, outer_near = size;
                for (Pixel p : inner)
                    if (p.first == x)
                        inner_far = std::max(inner_far, outward(roads[b], p.second));
                for (Pixel q : outer)
                    if (q.first == x)
                        outer_near = std::min(outer_near, outward(roads[b], q.second));
                EXPECT_LT(inner_far, outer_near) << roads[a].number << " inside " << roads[b].number << " at x " << x;
            }
        }
    }
}
