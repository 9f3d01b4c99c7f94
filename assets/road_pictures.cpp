// Draws the road pictures. Every arch passes through fixed pixels (its ends,
// its sample rows and the two ends of its apex row); neighbouring fixed pixels
// are joined by the thinnest stair-step path, max(|dx|, |dy|) steps long, and
// among the equally short paths the one lying nearest a cubic Bezier curve is
// taken, so the arch is smooth while every fixed pixel stays exactly where it is.
// A plain raster of the curve alone misses many of the fixed pixels.
#include "assets/road_pictures.h"

#include "assets/road_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace assets {

using geometry::Arch;
using geometry::Point;

std::size_t RoadPicture::index(int x, int y)
{
    if (x < 0 || x >= road_picture_size || y < 0 || y >= road_picture_size)
        throw std::out_of_range("road picture: pixel outside the picture");
    return static_cast<std::size_t>(y) * road_picture_size + static_cast<std::size_t>(x);
}

namespace {

constexpr int n = road_picture_size;
constexpr int disc_owner = -1;

int chebyshev(Point a, Point b)
{
    return std::max(std::abs(a.x - b.x), std::abs(a.y - b.y));
}

bool inside(Point p)
{
    return p.x >= 0 && p.x < n && p.y >= 0 && p.y < n;
}

// The eight single steps; a path remembers the step that led to each pixel.
constexpr std::array<Point, 8> steps
    = { { { 1, 0 }, { 1, -1 }, { 0, -1 }, { -1, -1 }, { -1, 0 }, { -1, 1 }, { 0, 1 }, { 1, 1 } } };
constexpr int no_step = -1;

// What touching a later arch's planned path costs: more than any detour nearer
// the curve could save, but not forbidden, since the later arch can still move.
constexpr double crowding_penalty = 1000;

// Two steps in a row whose pixels before and after touch would leave a corner
// pixel that makes the road two pixels thick there.
bool leaves_corner(int previous, int next)
{
    if (previous == no_step)
        return false;
    Point const sum = { steps[previous].x + steps[next].x, steps[previous].y + steps[next].y };
    return std::abs(sum.x) <= 1 && std::abs(sum.y) <= 1;
}

// Which road owns each pixel: 0 nobody, disc_owner a disc, else the road number.
class Canvas {
public:
    Canvas()
    {
        for (auto const& span : geometry::left_disc)
            for (int y = span.y_first; y <= span.y_last; ++y)
                for (int x = span.x_first; x <= span.x_last; ++x)
                    for (Point const p : { Point { x, y }, Point { x + geometry::right_disc_shift, y } }) {
                        set(p, disc_owner);
                        mark_near_disc(p);
                    }
    }

    int owner(Point p) const { return m_owner[cell(p)]; }
    void set(Point p, int owner) { m_owner[cell(p)] = static_cast<std::int8_t>(owner); }

    // Marks a pixel where a later arch would run if it were drawn now.
    void plan(Point p) { m_planned[cell(p)] = true; }

    // Whether p touches a road pixel (or a planned one) where at least one of
    // the two lies away from the discs.
    bool touches_road_apart(Point p) const
    {
        return touches_apart(p, [this](Point q) { return owner(q) > 0; });
    }
    bool touches_plan_apart(Point p) const
    {
        return touches_apart(p, [this](Point q) { return m_planned[cell(q)]; });
    }

private:
    static std::size_t cell(Point p) { return static_cast<std::size_t>(p.y) * n + static_cast<std::size_t>(p.x); }

    void mark_near_disc(Point disc)
    {
        for (int dy = -geometry::disc_margin; dy <= geometry::disc_margin; ++dy)
            for (int dx = -geometry::disc_margin; dx <= geometry::disc_margin; ++dx)
                if (Point const p = { disc.x + dx, disc.y + dy }; inside(p))
                    m_near_disc[cell(p)] = true;
    }

    template<typename Taken> bool touches_apart(Point p, Taken taken) const
    {
        for (auto const& s : steps) {
            Point const q = { p.x + s.x, p.y + s.y };
            if (inside(q) && taken(q) && !(m_near_disc[cell(p)] && m_near_disc[cell(q)]))
                return true;
        }
        return false;
    }

    std::vector<std::int8_t> m_owner = std::vector<std::int8_t>(n * n, 0);
    std::vector<bool> m_planned = std::vector<bool>(n * n, false);
    std::vector<bool> m_near_disc = std::vector<bool>(n * n, false);
};

// The cubic Bezier curve an arch follows: from end to end, both inner control
// points midway between the ends and 4/3 of the apex height out, which puts the
// curve's middle exactly on the apex row.
class ReferenceCurve {
public:
    explicit ReferenceCurve(Arch const& arch)
    {
        double const x0 = arch.left_end.x, x3 = arch.right_end.x, y0 = arch.left_end.y;
        double const cx = (x0 + x3) / 2;
        double const cy = y0 + 4.0 / 3.0 * (arch.apex_y - y0);
        for (int i = 0; i <= samples; ++i) {
            double const t = static_cast<double>(i) / samples, u = 1 - t;
            double const inner = 3 * u * u * t + 3 * u * t * t;
            m_points[static_cast<std::size_t>(i)] = { u * u * u * x0 + inner * cx + t * t * t * x3,
                u * u * u * y0 + inner * cy + t * t * t * arch.right_end.y };
        }
    }

    double distance(Point p)
    {
        double& known = m_distance[static_cast<std::size_t>(p.y) * n + static_cast<std::size_t>(p.x)];
        if (known < 0) {
            double best = 1e9;
            for (auto const& [x, y] : m_points)
                best = std::min(best, std::hypot(x - p.x, y - p.y));
            known = best;
        }
        return known;
    }

private:
    static constexpr int samples = 2000;
    std::vector<std::pair<double, double>> m_points = std::vector<std::pair<double, double>>(samples + 1);
    std::vector<double> m_distance = std::vector<double>(n * n, -1); // -1 until known
};

// The pixels an arch must pass through, from left to right.
std::vector<Point> fixed_points(Arch const& arch)
{
    std::vector<Point> points
        = { arch.left_end, { arch.apex_x_first, arch.apex_y }, { arch.apex_x_last, arch.apex_y } };
    for (std::size_t i = 0; i < geometry::sample_x.size(); ++i)
        points.push_back({ geometry::sample_x[i], arch.sample_y[i] });
    std::stable_sort(points.begin(), points.end(), [](Point a, Point b) { return a.x < b.x; });
    points.erase(std::unique(points.begin(), points.end()), points.end());
    points.push_back(arch.right_end);
    if (!(arch.right_end_last == arch.right_end))
        points.push_back(arch.right_end_last);
    return points;
}

// How much farther from the straight road `y` lies than `limit`, on the arch's side.
int beyond(Arch const& arch, int y, int limit)
{
    return (y - limit) * static_cast<int>(arch.side);
}

// Whether the arch may use pixel p: not on a disc or another road, not touching
// an earlier road away from the discs, never beyond its apex row or its sample
// rows, and on its apex row only within the apex's columns.
bool allowed(Arch const& arch, Canvas const& canvas, Point p)
{
    if (!inside(p) || canvas.owner(p) != 0)
        return false;
    if (canvas.touches_road_apart(p))
        return false;
    if (beyond(arch, p.y, arch.apex_y) > 0)
        return false;
    if (p.y == arch.apex_y && (p.x < arch.apex_x_first || p.x > arch.apex_x_last))
        return false;
    for (std::size_t i = 0; i < geometry::sample_x.size(); ++i)
        if (p.x == geometry::sample_x[i] && beyond(arch, p.y, arch.sample_y[i]) > 0)
            return false;
    return true;
}

// Shortest stair-step path through all fixed points, nearest the curve.
std::vector<Point> trace_arch(Arch const& arch, Canvas const& canvas)
{
    struct Node {
        Point p;
        int step;
        double cost;
        int previous;
    };
    ReferenceCurve curve(arch);
    std::vector<Point> const fixed = fixed_points(arch);
    std::vector<Node> nodes = { { fixed.front(), no_step, curve.distance(fixed.front()), -1 } };
    std::vector<int> layer = { 0 };
    for (std::size_t f = 1; f < fixed.size(); ++f) {
        Point const target = fixed[f];
        for (int left = chebyshev(fixed[f - 1], target) - 1; left >= 0; --left) {
            std::map<std::pair<int, int>, int> next; // (pixel, step) -> node
            for (int from : layer) {
                for (int s = 0; s < static_cast<int>(steps.size()); ++s) {
                    Node const& node = nodes[static_cast<std::size_t>(from)];
                    Point const q = { node.p.x + steps[s].x, node.p.y + steps[s].y };
                    if (chebyshev(q, target) != left || leaves_corner(node.step, s) || !allowed(arch, canvas, q))
                        continue;
                    double const cost
                        = node.cost + curve.distance(q) + (canvas.touches_plan_apart(q) ? crowding_penalty : 0);
                    auto const [it, added] = next.try_emplace({ q.y * n + q.x, s }, static_cast<int>(nodes.size()));
                    if (added)
                        nodes.push_back({ q, s, cost, from });
                    else if (cost < nodes[static_cast<std::size_t>(it->second)].cost)
                        nodes[static_cast<std::size_t>(it->second)] = { q, s, cost, from };
                }
            }
            layer.clear();
            for (auto const& [key, node] : next)
                layer.push_back(node);
            if (layer.empty())
                throw std::logic_error("road picture: no path for road " + std::to_string(arch.road) + " to ("
                    + std::to_string(target.x) + ", " + std::to_string(target.y) + ")");
        }
    }
    int best = layer.front();
    for (int node : layer)
        if (nodes[static_cast<std::size_t>(node)].cost < nodes[static_cast<std::size_t>(best)].cost)
            best = node;
    std::vector<Point> path;
    for (int node = best; node >= 0; node = nodes[static_cast<std::size_t>(node)].previous)
        path.push_back(nodes[static_cast<std::size_t>(node)].p);
    std::reverse(path.begin(), path.end());
    return path;
}

std::vector<RoadPicture> draw_all()
{
    Canvas canvas;
    std::vector<RoadPicture> pictures(road_picture_count);
    auto const snapshot = [&canvas](RoadPicture& picture) {
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x)
                if (canvas.owner({ x, y }) != 0)
                    picture.set_black(x, y);
    };
    snapshot(pictures[0]);
    for (int x = geometry::straight_road_x_first; x <= geometry::straight_road_x_last; ++x)
        canvas.set({ x, geometry::straight_road_y }, 1);
    snapshot(pictures[1]);
    // An arch keeps clear of the arches drawn before it and, where it can, of
    // where the later arches on its side would run on their own: near a disc a
    // later arch may be forced onto a pure diagonal, and the arch inside it must
    // leave it room.
    std::vector<std::vector<Point>> alone;
    for (auto const& arch : geometry::arches)
        alone.push_back(trace_arch(arch, canvas));
    for (std::size_t i = 0; i < std::size(geometry::arches); ++i) {
        Arch const& arch = geometry::arches[i];
        Canvas ahead = canvas;
        for (std::size_t later = i + 1; later < std::size(geometry::arches); ++later)
            if (geometry::arches[later].side == arch.side)
                for (Point p : alone[later])
                    ahead.plan(p);
        for (Point p : trace_arch(arch, ahead))
            canvas.set(p, arch.road);
        snapshot(pictures[static_cast<std::size_t>(arch.road)]);
    }
    return pictures;
}

} // namespace

RoadPicture const& draw_road_picture(int k)
{
    static std::vector<RoadPicture> const pictures = draw_all();
    if (k < 0 || k >= road_picture_count)
        throw std::out_of_range("road picture " + std::to_string(k) + " does not exist");
    return pictures[static_cast<std::size_t>(k)];
}

} // namespace assets
