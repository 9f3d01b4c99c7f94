#include "tavrel_oskund.h"

#include "platform/runtime.h"

namespace route {

namespace {

void append_to_caption(platform::Label& label, std::string_view text)
{
    label.set_Caption(rt::concat(label.Caption(), text));
}

// The text of the selected entry of a segment selector ("" when none).
std::string const& segment_text(Tavrel_Oskund const& window, std::int16_t segment)
{
    return window.List1(segment).List(window.List1(segment).ListIndex());
}

double segment_value(Tavrel_Oskund const& window, std::int16_t segment)
{
    double const value = rt::Val(segment_text(window, segment));
    rt::check_fp(value);
    return value;
}

} // namespace

void rebuild_route_count(Tavrel_Oskund const& window)
{
    window.Label1(1).set_Caption(std::string());

    append_to_caption(window.Label1(1), segment_text(window, 0));
    std::int16_t routes = rt::to_int16(segment_value(window, 0));

    for (std::int16_t segment = 1; segment <= 2; ++segment) {
        append_to_caption(window.Label1(1), "*");
        append_to_caption(window.Label1(1), segment_text(window, segment));
        double const value = segment_value(window, segment);
        double const product = routes * value;
        rt::check_fp(product);
        routes = rt::to_int16(product);
    }

    append_to_caption(window.Label1(1), rt::concat(" = ", rt::int_to_text(routes)));
}

} // namespace route
