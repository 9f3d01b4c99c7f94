// Every visible element stands at its pixel place in its colours, read back
// from the window's pixels: the background shows exactly where no element
// lies, labels fill their places to the edges, boxes cover theirs.
#include "fixture.h"
#include "layout.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace e2e {
namespace {

class LayoutTest : public WindowTest { };

// Lists up to a few wrong pixels, so that a failure says where to look.
class Mismatches {
public:
    void add(int x, int y, Rgb seen, std::string_view wanted)
    {
        if (m_count++ < 8)
            m_text << " (" << x << "," << y << ") is " << to_hex(seen) << ", wanted " << wanted << ";";
    }
    int count() const { return m_count; }
    std::string text() const { return m_text.str(); }

private:
    int m_count = 0;
    std::ostringstream m_text;
};

bool is_label_colour(Rgb c)
{
    return c == window_colour || c == caption_colour || c == route_count_colour;
}

TEST_F(LayoutTest, TheClientAreaMeasures470By409)
{
    EXPECT_EQ(m_client.w, client_width);
    EXPECT_EQ(m_client.h, client_height);
}

TEST_F(LayoutTest, TheBackgroundShowsExactlyWhereNoElementLies)
{
    Image const shot = screen();
    Mismatches wrong;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            bool const free = !element_at(x, y);
            if (free != (shot.at(x, y) == window_colour))
                wrong.add(x, y, shot.at(x, y), free ? to_hex(window_colour) : "an element");
        }
    EXPECT_EQ(wrong.count(), 0) << wrong.text();
}

TEST_F(LayoutTest, LabelsFillTheirPlacesToTheEdges)
{
    Image const shot = screen();
    for (auto const& label : elements) {
        if (label.shape != Shape::Label)
            continue;
        Rect const r = label.place;
        Mismatches wrong;
        auto check = [&](int x, int y) {
            auto const seen = element_at(x, y);
            if (seen && seen->name == label.name && shot.at(x, y) != label.colour)
                wrong.add(x, y, shot.at(x, y), to_hex(label.colour));
        };
        for (int x = r.x; x < r.x + r.w; ++x) {
            check(x, r.y);
            check(x, r.y + r.h - 1);
        }
        for (int y = r.y; y < r.y + r.h; ++y) {
            check(r.x, y);
            check(r.x + r.w - 1, y);
        }
        EXPECT_EQ(wrong.count(), 0) << label.name << ":" << wrong.text();
    }
}

// Captions stand on one line that starts at the label's top edge, centred
// across the label's width, and fit it: a caption in a font wider than the
// one the layout is measured with runs into both edges and is cut there
// (checked for the Linux program, whose package brings those fonts).
// Ink: pixels clearly darker than the label.
TEST_F(LayoutTest, CaptionsAreCentredOnALineFromTheTopEdge)
{
    Image const shot = screen();
    for (auto const& label : elements) {
        if (label.shape != Shape::Label)
            continue;
        // Only the part no box covers; the route count's first column lies under the heading.
        Rect r = label.place;
        if (label.name == "Label1(1)") {
            r.x += 1;
            r.w -= 1;
        }
        int top = r.h, bottom = -1, left = r.w, right = -1;
        for (int y = 0; y < r.h; ++y)
            for (int x = 0; x < r.w; ++x) {
                Rgb const c = shot.at(r.x + x, r.y + y);
                if (element_at(r.x + x, r.y + y)->name == label.name && (c >> 8 & 0xFF) < 0x60) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        ASSERT_GE(bottom, 0) << label.name << " shows no caption";
        EXPECT_LE(top, 6) << label.name << ": the caption does not start at the top edge";
        EXPECT_LE(bottom, 20) << label.name << ": the caption runs onto a second line";
        int const left_margin = left;
        int const right_margin = r.w - 1 - right;
        bool const wine = Desktop::get().plan().kind == LaunchPlan::Kind::Wine;
        if (!wine) {
            EXPECT_GE(std::min(left_margin, right_margin), 2)
                << label.name << ": the caption is cut at the label's edge";
        }
        int const shift = label.name == "Label1(1)" ? 1 : 0; // the covered first column
        // Wine rasters hinted glyphs up to a few pixels narrower than the
        // advances it centres by, so its ink leans left a little more.
        int const slack = wine ? 5 : 3;
        EXPECT_LE(std::abs(left_margin + shift - right_margin), slack) << label.name << ": not centred";
    }
}

TEST_F(LayoutTest, BoxesCoverTheirPlaces)
{
    Image const shot = screen();
    for (auto const& box : elements) {
        if (box.shape == Shape::Label)
            continue;
        Mismatches wrong;
        for (int y = box.place.y; y < box.place.y + box.place.h; ++y)
            for (int x = box.place.x; x < box.place.x + box.place.w; ++x)
                if (element_at(x, y)->name == box.name && is_label_colour(shot.at(x, y)))
                    wrong.add(x, y, shot.at(x, y), "the box");
        EXPECT_EQ(wrong.count(), 0) << box.name << ":" << wrong.text();
    }
}

// The road pictures the build wrote, when the test was told where.
Image road_picture(int k)
{
    std::string const& dir = Desktop::get().plan().pictures_dir;
    if (dir.empty())
        return {};
    return load_bmp((std::filesystem::path(dir) / ("road_picture_" + std::to_string(k) + ".bmp")).string());
}

// Every visible pixel of segment picture i is road picture k's, drawn 1:1
// from the box's top-left corner.
int wrong_picture_pixels(Image const& shot, int i, Image const& picture)
{
    Rect const box = segment_picture(i);
    int wrong = 0;
    for (int y = box.y; y < box.y + box.h; ++y)
        for (int x = box.x; x < box.x + box.w; ++x)
            if (element_at(x, y)->name == segment_picture_name(i) && shot.at(x, y) != picture.at(x - box.x, y - box.y))
                ++wrong;
    return wrong;
}

// Roads touch each other only within 3 pixels (max(|dx|, |dy|)) of a disc, so
// anywhere farther out a black pixel of segment picture i touches just the
// pixels before and after it on its own road. Counts the pixels that do not.
int crowded_road_pixels(Image const& shot, int i, Image const& discs)
{
    Rect const box = segment_picture(i);
    auto const black = [](Image const& image, int x, int y) {
        return x >= 0 && y >= 0 && x < image.width() && y < image.height() && image.at(x, y) == 0;
    };
    Image const picture = shot.crop(box);
    int crowded = 0;
    for (int y = 0; y < box.h; ++y)
        for (int x = 0; x < box.w; ++x) {
            if (!black(picture, x, y))
                continue;
            int near_disc = 0, neighbours = -1; // the pixel itself counts in its square
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx) {
                    near_disc += black(discs, x + dx, y + dy);
                    neighbours += std::max(std::abs(dx), std::abs(dy)) <= 1 && black(picture, x + dx, y + dy);
                }
            crowded += near_disc == 0 && neighbours != 2;
        }
    return crowded;
}

TEST_F(LayoutTest, SegmentPicturesShowTheirRoadsWithTheRightHandOneInFrontAtEachSeam)
{
    if (road_picture(1).width() == 0)
        GTEST_SKIP() << "no road pictures given (--pictures)";
    Image shot = screen();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(wrong_picture_pixels(shot, i, road_picture(1)), 0) << "segment " << i;
    // Different pictures side by side make each seam show which one is in front.
    pick_with_pointer(0, 4);
    pick_with_pointer(1, 0);
    pick_with_pointer(2, 7);
    shot = screen();
    int const shown[] = { 4, 0, 7 };
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(wrong_picture_pixels(shot, i, road_picture(shown[i])), 0) << "segment " << i;
    // The last segment is wholly in front, so all seven roads show there.
    EXPECT_EQ(crowded_road_pixels(shot, 2, road_picture(0)), 0);
}

TEST_F(LayoutTest, SegmentPicturesAreBlackOnWhite)
{
    Image const shot = screen();
    for (int i = 0; i < 3; ++i) {
        Rect const box = segment_picture(i);
        int black = 0, white = 0, other = 0;
        for (int y = box.y; y < box.y + box.h; ++y)
            for (int x = box.x; x < box.x + box.w; ++x) {
                Rgb const c = shot.at(x, y);
                if (element_at(x, y)->name != segment_picture_name(i))
                    continue;
                c == 0 ? ++black : c == 0xFFFFFF ? ++white : ++other;
            }
        EXPECT_GT(black, 0) << "segment " << i;
        EXPECT_GT(white, 0) << "segment " << i;
        EXPECT_EQ(other, 0) << "segment " << i;
    }
}

} // namespace
} // namespace e2e
