// Tab and Shift+Tab, the same for every back end. The engine steps the ring:
// it hands the back end the first element when the window is shown, and
// the next one through display::focus when the user presses Tab, so no back
// end keeps an order of its own or sees the ring at all.
#pragma once

#include "controls.h"

#include <vector>

namespace platform {

// The elements that take the focus: every visible element but labels, which
// are painted on the window and have nothing to focus. In ascending tab
// index; of two with the same index the one created first comes first.
class TabRing {
public:
    explicit TabRing(Form const& form);

    // Where the focus goes when the window is shown; null in an empty ring.
    Control* first() const { return m_order.empty() ? nullptr : m_order.front(); }
    // Where Tab (or, backward, Shift+Tab) moves the focus from current; from
    // no element or one outside the ring it goes to the first (or last).
    Control* step(Control const* current, bool backward) const;

private:
    std::vector<Control*> m_order;
};

} // namespace platform
