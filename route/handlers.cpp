#include "tavrel_oskund.h"

namespace route {

void Form_Load(Tavrel_Oskund const& window)
{
    // Each assignment raises List1_Click at once, which draws the segment and
    // rebuilds the route count before the next segment is set.
    for (std::int16_t i = 0; i <= 2; ++i)
        window.List1(i).set_ListIndex(1);
}

void List1_Click(Tavrel_Oskund const& window, std::int16_t Index)
{
    std::int16_t const roads = window.List1(Index).ListIndex();
    window.Picture1(Index).set_Picture(window.Picture2(roads).Picture());
    rebuild_route_count(window);
}

void bind_handlers(platform::Form& form)
{
    form.on_load = [](platform::Form& f) { Form_Load(Tavrel_Oskund(f)); };
    form.on_click = [](platform::Form& f, std::string_view array, std::int16_t index) {
        if (array == "List1")
            List1_Click(Tavrel_Oskund(f), index);
    };
}

} // namespace route
