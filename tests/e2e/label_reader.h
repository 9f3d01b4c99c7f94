// Reads the route-count label back from the screen by comparing it with
// reference renderings the test makes itself: every formula the label can
// show ("a*b*c = n" for road counts 0 to 7) is drawn with Xft in the window
// font on the label's colour, and the closest one is the label's text. A
// reading that is far from every reference (clipped, wrapped, wrong font or
// garbage) reads as empty.
#pragma once

#include "image.h"

#include <X11/Xlib.h>

#include <string>
#include <vector>

namespace e2e {

struct Reading {
    std::string text; // empty when nothing matched well enough
    double mismatch = 1.0; // best match: differing ink as a share of the reference's ink
};

class LabelReader {
public:
    // Renders the references once, centred in a label of the given size,
    // the text's line starting at the label's top edge.
    LabelReader(Display* display, int label_width, int label_height, Rgb background);

    Reading read(Image const& label) const;
    // Cheaply: whether the label shows any text at all.
    bool has_text(Image const& label) const;

    // The most a reading may differ from its reference and still count.
    static constexpr double tolerance = 0.25;

private:
    struct Reference {
        std::string text;
        std::vector<float> ink;
        double total_ink = 0;
    };

    std::vector<float> ink_of(Image const& image) const;
    double mismatch(std::vector<float> const& screen, Reference const& reference, int dx, int dy, double give_up) const;

    int m_width;
    int m_height;
    Rgb m_background;
    std::vector<Reference> m_references;
};

} // namespace e2e
