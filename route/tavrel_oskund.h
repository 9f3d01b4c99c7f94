// The window Tavrel_Oskund as its event handlers see it: the control arrays by
// name and index, and the handlers themselves. No toolkit, no pixels: the
// handlers work on the control model alone, so they run headless in tests.
#pragma once

#include "platform/controls.h"

#include <cstdint>

namespace route {

// The control arrays the handlers touch, addressed by their designer names.
class Tavrel_Oskund {
public:
    explicit Tavrel_Oskund(platform::Form& form)
        : m_form(form)
    { }

    platform::ListBox& List1(std::int16_t i) const { return m_form.list_box("List1", i); }
    platform::PictureBox& Picture1(std::int16_t i) const { return m_form.picture_box("Picture1", i); }
    platform::PictureBox& Picture2(std::int16_t i) const { return m_form.picture_box("Picture2", i); }
    platform::Label& Label1(std::int16_t i) const { return m_form.label("Label1", i); }

private:
    platform::Form& m_form;
};

// Rewrites Label1(1) as "t0*t1*t2 = N", N being the product of the three
// selected road counts. The caption is the accumulator: it is cleared, then
// extended one piece at a time, so nothing is kept between runs.
void rebuild_route_count(Tavrel_Oskund const& window);

void Form_Load(Tavrel_Oskund const& window);
void List1_Click(Tavrel_Oskund const& window, std::int16_t Index);

// Connects the handlers to the form's load and click events.
void bind_handlers(platform::Form& form);

} // namespace route
