#include "project.h"

#include "route/tavrel_oskund.h"

#include <cstddef>
#include <cstdint>

// Written by the pack tool at build time.
extern std::uint8_t const tavrel_form_stream[];
extern std::size_t const tavrel_form_stream_size;

namespace app {

platform::Project const& tavrel_oskund_project()
{
    static platform::Project const project {
        "Tavrel_Oskund",
        std::span<std::uint8_t const>(tavrel_form_stream, tavrel_form_stream_size),
        route::bind_handlers,
    };
    return project;
}

} // namespace app
