#include "label_reader.h"

#include <X11/Xft/Xft.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace e2e {

namespace {

// "Times New Roman" 12 pt at 96 dpi, the way fontconfig resolves it on the
// test desktop (Liberation Serif, its metric twin): smoothed, as Xft draws
// it for FLTK, and in plain pixels, as Windows without font smoothing and
// Wine draw it.
constexpr char const* window_fonts[]
    = { "Times New Roman:pixelsize=16", "Times New Roman:pixelsize=16:antialias=false" };
constexpr int max_shift = 3;

float luminance(Rgb c)
{
    return 0.299f * static_cast<float>(c >> 16 & 0xFF) + 0.587f * static_cast<float>(c >> 8 & 0xFF)
        + 0.114f * static_cast<float>(c & 0xFF);
}

} // namespace

LabelReader::LabelReader(Display* display, int label_width, int label_height, Rgb background)
    : m_width(label_width)
    , m_height(label_height)
    , m_background(background)
{
    int const screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    Colormap colormap = DefaultColormap(display, screen);
    Pixmap pixmap = XCreatePixmap(display, DefaultRootWindow(display), static_cast<unsigned>(m_width),
        static_cast<unsigned>(m_height), static_cast<unsigned>(DefaultDepth(display, screen)));
    XftDraw* draw = XftDrawCreate(display, pixmap, visual, colormap);
    XftColor back, black;
    XRenderColor const back_rgb { static_cast<unsigned short>((background >> 16 & 0xFF) * 257),
        static_cast<unsigned short>((background >> 8 & 0xFF) * 257),
        static_cast<unsigned short>((background & 0xFF) * 257), 0xFFFF };
    XRenderColor const black_rgb { 0, 0, 0, 0xFFFF };
    XftColorAllocValue(display, visual, colormap, &back_rgb, &back);
    XftColorAllocValue(display, visual, colormap, &black_rgb, &black);

    for (char const* font_name : window_fonts) {
        XftFont* font = XftFontOpenName(display, screen, font_name);
        if (!font)
            throw std::runtime_error("Xft cannot open the window font");
        for (int a = 0; a <= 7; ++a)
            for (int b = 0; b <= 7; ++b)
                for (int c = 0; c <= 7; ++c) {
                    std::string const text = std::to_string(a) + "*" + std::to_string(b) + "*" + std::to_string(c)
                        + " = " + std::to_string(a * b * c);
                    auto const* utf8 = reinterpret_cast<FcChar8 const*>(text.c_str());
                    int const length = static_cast<int>(text.size());
                    XGlyphInfo extents;
                    XftTextExtentsUtf8(display, font, utf8, length, &extents);
                    XftDrawRect(draw, &back, 0, 0, static_cast<unsigned>(m_width), static_cast<unsigned>(m_height));
                    XftDrawStringUtf8(draw, &black, font, (m_width - extents.xOff) / 2, font->ascent, utf8, length);
                    XImage* shot = XGetImage(display, pixmap, 0, 0, static_cast<unsigned>(m_width),
                        static_cast<unsigned>(m_height), AllPlanes, ZPixmap);
                    Image image(m_width, m_height);
                    for (int y = 0; y < m_height; ++y)
                        for (int x = 0; x < m_width; ++x)
                            image.set(x, y, static_cast<Rgb>(XGetPixel(shot, x, y) & 0xFFFFFF));
                    XDestroyImage(shot);
                    Reference reference { text, ink_of(image), 0 };
                    for (float v : reference.ink)
                        reference.total_ink += v;
                    m_references.push_back(std::move(reference));
                }
        XftFontClose(display, font);
    }

    XftColorFree(display, visual, colormap, &back);
    XftColorFree(display, visual, colormap, &black);
    XftDrawDestroy(draw);
    XFreePixmap(display, pixmap);
}

// How much darker than the label's colour each pixel is, 0 to 1.
std::vector<float> LabelReader::ink_of(Image const& image) const
{
    float const paper = luminance(m_background);
    std::vector<float> ink(static_cast<std::size_t>(m_width) * m_height, 0.f);
    for (int y = 0; y < std::min(m_height, image.height()); ++y)
        for (int x = 0; x < std::min(m_width, image.width()); ++x)
            ink[static_cast<std::size_t>(y) * m_width + x]
                = std::clamp((paper - luminance(image.at(x, y))) / paper, 0.f, 1.f);
    return ink;
}

// The screen shifted by (dx, dy) against the reference; ink beyond the
// label's edges counts as missing. Stops early once it exceeds give_up.
double LabelReader::mismatch(
    std::vector<float> const& screen, Reference const& reference, int dx, int dy, double give_up) const
{
    double const limit = give_up * std::max(1.0, reference.total_ink);
    double differing = 0;
    for (int y = 0; y < m_height && differing <= limit; ++y)
        for (int x = 0; x < m_width; ++x) {
            int const sx = x + dx;
            int const sy = y + dy;
            float const s = sx >= 0 && sx < m_width && sy >= 0 && sy < m_height
                ? screen[static_cast<std::size_t>(sy) * m_width + sx]
                : 0.f;
            differing += std::fabs(s - reference.ink[static_cast<std::size_t>(y) * m_width + x]);
        }
    return differing / std::max(1.0, reference.total_ink);
}

bool LabelReader::has_text(Image const& label) const
{
    int dark = 0;
    for (float v : ink_of(label))
        dark += v > 0.5f ? 1 : 0;
    return dark >= 10;
}

Reading LabelReader::read(Image const& label) const
{
    std::vector<float> const screen = ink_of(label);
    Reading best;
    for (auto const& reference : m_references)
        for (int dy = -max_shift; dy <= max_shift; ++dy)
            for (int dx = -max_shift; dx <= max_shift; ++dx) {
                double const m = mismatch(screen, reference, dx, dy, best.mismatch);
                if (m < best.mismatch) {
                    best.mismatch = m;
                    best.text = reference.text;
                }
            }
    if (best.mismatch > tolerance)
        best.text.clear();
    return best;
}

} // namespace e2e
