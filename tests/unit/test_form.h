// A headless Tavrel_Oskund window built by hand: the segment selectors, the
// segment and road pictures and the route-count label, nothing drawn.
#pragma once

#include "platform/controls.h"
#include "route/tavrel_oskund.h"

#include <memory>
#include <string>

namespace testing_support {

inline std::unique_ptr<platform::Form> make_route_form()
{
    auto form = std::make_unique<platform::Form>("Tavrel_Oskund");
    for (std::int16_t k = 7; k >= 0; --k) {
        auto picture = std::make_shared<platform::Picture>();
        picture->width = 1;
        picture->height = 1;
        picture->pixels = { static_cast<std::uint32_t>(k) };
        form->add<platform::PictureBox>("Picture2", k).set_Picture(picture);
    }
    for (std::int16_t i = 2; i >= 0; --i) {
        auto& list = form->add<platform::ListBox>("List1", i);
        for (char c = '0'; c <= '7'; ++c)
            list.add_entry(std::string(1, c));
    }
    for (std::int16_t i = 2; i >= 0; --i)
        form->add<platform::PictureBox>("Picture1", i);
    for (std::int16_t i = 5; i >= 0; --i)
        form->add<platform::Label>("Label1", i);
    route::bind_handlers(*form);
    return form;
}

} // namespace testing_support
