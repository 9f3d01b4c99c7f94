// The order Tab and Shift+Tab visit the elements in, which the engine takes
// from the ring for every back end.
#include "platform/tab_ring.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace platform;

namespace {

// One element of a hand-built window: L label, P picture box, T text box,
// l list box; hidden elements never take the focus.
struct Element {
    char kind;
    std::int16_t tab_index;
    bool visible = true;
};

std::unique_ptr<Form> make_form(std::vector<Element> const& elements)
{
    auto form_owner = std::make_unique<Form>("f");
    Form& form = *form_owner;
    std::int16_t index = 0;
    for (auto const& e : elements) {
        Control& c = e.kind == 'L' ? static_cast<Control&>(form.add<Label>("E", index))
            : e.kind == 'P'        ? static_cast<Control&>(form.add<PictureBox>("E", index))
            : e.kind == 'T'        ? static_cast<Control&>(form.add<TextBox>("E", index))
                                   : static_cast<Control&>(form.add<ListBox>("E", index));
        c.tab_index = e.tab_index;
        c.visible = e.visible;
        ++index;
    }
    return form_owner;
}

// The ring as element indices, so cases read as "E(2), E(0), ...": Tab from
// the first element until the focus comes back to it.
std::vector<int> indices(TabRing const& ring)
{
    std::vector<int> out;
    for (Control const* c = ring.first(); c && out.size() <= 64; c = ring.step(c, false)) {
        out.push_back(c->index());
        if (ring.step(c, false) == ring.first())
            break;
    }
    return out;
}

} // namespace

TEST(TabRing, HoldsVisibleFocusableElementsByTabIndexThenCreation)
{
    struct Case {
        char const* name;
        std::vector<Element> elements;
        std::vector<int> order;
    };
    Case const cases[] = {
        { "empty window", {}, {} },
        { "labels only", { { 'L', 0 }, { 'L', 1 } }, {} },
        { "tab index decides", { { 'l', 2 }, { 'P', 0 }, { 'T', 1 } }, { 1, 2, 0 } },
        { "ties keep creation order", { { 'l', 1 }, { 'l', 0 }, { 'P', 1 }, { 'T', 0 } }, { 1, 3, 0, 2 } },
        { "hidden and labels skipped", { { 'P', 0, false }, { 'L', 1 }, { 'l', 2 }, { 'T', 3, false } }, { 2 } },
        { "negative indices first", { { 'l', 5 }, { 'l', -1 } }, { 1, 0 } },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        auto const form = make_form(c.elements);
        TabRing const ring(*form);
        EXPECT_EQ(indices(ring), c.order);
        EXPECT_EQ(ring.first() == nullptr, c.order.empty());
    }
}

TEST(TabRing, StepsAroundInBothDirections)
{
    auto const owner = make_form({ { 'l', 2 }, { 'P', 0 }, { 'L', 3 }, { 'T', 1 } });
    Form const& form = *owner;
    TabRing const ring(form);
    Control const* list = &form.element("E", 0);
    Control const* picture = &form.element("E", 1);
    Control const* label = &form.element("E", 2);
    Control const* text = &form.element("E", 3);
    struct Case {
        Control const* from;
        bool backward;
        Control const* to;
    };
    Case const cases[] = {
        { picture, false, text },
        { text, false, list },
        { list, false, picture }, // wraps to the first
        { picture, true, list }, // wraps to the last
        { list, true, text },
        { nullptr, false, picture }, // no focus yet
        { nullptr, true, list },
        { label, false, picture }, // outside the ring
        { label, true, list },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(std::string(c.from ? c.from->array() + std::to_string(c.from->index()) : "none")
            + (c.backward ? " backward" : " forward"));
        EXPECT_EQ(ring.step(c.from, c.backward), c.to);
    }
    // A window where nothing takes the focus has nowhere for Tab to go.
    auto const labels = make_form({ { 'L', 0 } });
    EXPECT_EQ(TabRing(*labels).step(&labels->element("E", 0), false), nullptr);
    EXPECT_EQ(TabRing(*labels).step(picture, true), nullptr);
}
