// The tab ring the engine steps for every back end; see tab_ring.h.
#include "tab_ring.h"

#include <algorithm>

namespace platform {

namespace {

bool takes_focus(Control const& control)
{
    return control.visible && control.kind() != Kind::Label;
}

} // namespace

TabRing::TabRing(Form const& form)
{
    for (auto const& control : form.controls())
        if (takes_focus(*control))
            m_order.push_back(control.get());
    std::stable_sort(
        m_order.begin(), m_order.end(), [](Control const* a, Control const* b) { return a->tab_index < b->tab_index; });
}

Control* TabRing::step(Control const* current, bool backward) const
{
    if (m_order.empty())
        return nullptr;
    auto const count = m_order.size();
    auto const at = static_cast<std::size_t>(std::find(m_order.begin(), m_order.end(), current) - m_order.begin());
    if (at == count)
        return backward ? m_order.back() : m_order.front();
    return m_order[(at + (backward ? count - 1 : 1)) % count];
}

} // namespace platform
