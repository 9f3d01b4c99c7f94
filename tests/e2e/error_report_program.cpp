// The platform with a fault built in, for testing the run-time error report
// end to end on the real display. The first argument picks the fault:
//   description  the start routine gets a damaged window description;
//   load         the window's load handler raises Overflow;
//   click        the first selection the user makes raises Overflow.
// In each case the platform must report the error, with its number and
// description, and end the process with the error exit code once the user
// has dismissed the report. Built from the same code as Tavrel_Oskund.
#include "platform/engine.h"
#include "route/tavrel_oskund.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern std::uint8_t const tavrel_form_stream[];
extern std::size_t const tavrel_form_stream_size;

namespace {

// The header's first bytes and then nothing: the reader must refuse it.
std::uint8_t const damaged_description[] = { 0xFF, 0xCC, 0x31, 0x00, 0x05 };

bool loaded = false;

void raise_on_load(platform::Form& form)
{
    route::bind_handlers(form);
    form.on_load = [](platform::Form&) { rt::raise(rt::ErrorCode::Overflow, "fault built into the test program"); };
}

void raise_on_first_click(platform::Form& form)
{
    route::bind_handlers(form);
    auto const load = form.on_load;
    auto const click = form.on_click;
    form.on_load = [load](platform::Form& f) {
        load(f);
        loaded = true;
    };
    form.on_click = [click](platform::Form& f, std::string_view array, std::int16_t index) {
        if (loaded)
            rt::raise(rt::ErrorCode::Overflow, "fault built into the test program");
        click(f, array, index);
    };
}

} // namespace

int main(int argc, char** argv)
{
    std::string_view const fault = argc > 1 ? argv[1] : "";
    platform::Project project { "Tavrel_Oskund",
        std::span<std::uint8_t const>(tavrel_form_stream, tavrel_form_stream_size), nullptr };
    if (fault == "description")
        project.form_description = damaged_description;
    else if (fault == "load")
        project.bind_handlers = raise_on_load;
    else if (fault == "click")
        project.bind_handlers = raise_on_first_click;
    else
        return 2;
    platform::ThunRTMain(project);
}
