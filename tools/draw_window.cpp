// tavrel_draw_window <description> <words-out> [<window-out>]
//
// Writes, for the page, what it shows before (or without) its program: into
// <words-out> the words of the report that the page gives where its program
// cannot be unpacked, in the program's own words; and into <window-out> the
// window as the program shows it at its start, as still markup. The window
// is built from the description as the program builds it, its load event
// run by the program's own handlers, and written by the same code that
// writes the live window's markup in the page; its pictures are PNG images
// written here. Nothing of it depends on a browser, so every build of one
// commit writes the same bytes.
#include "base64.h"

#include "assets/png.h"
#include "platform/engine.h"
#include "platform/error_report.h"
#include "platform/form_reader.h"
#include "platform/web/web_markup.h"
#include "route/tavrel_oskund.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> read_file(char const* path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    if (!in && !in.eof())
        throw std::runtime_error(std::string("cannot read ") + path);
    return bytes;
}

void write_file(char const* path, std::string const& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush())
        throw std::runtime_error(std::string("cannot write ") + path);
}

// What a box shows as a PNG of the box's size: its picture 1:1 from the
// top-left corner, cut at the box's edges, and nothing (transparent) beside
// it, as the live window's canvas holds it.
std::string box_image(platform::PictureBox const& box, platform::PixelPlace const& place)
{
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(place.w) * place.h * 4, 0);
    platform::PictureRef const& picture = box.Picture();
    if (picture && picture->has_pixels()) {
        std::vector<std::uint8_t> const pixels = platform::rgba_bytes(*picture);
        for (int y = 0; y < std::min(place.h, picture->height); ++y)
            for (int x = 0; x < std::min(place.w, picture->width); ++x)
                for (int c = 0; c < 4; ++c)
                    rgba[(static_cast<std::size_t>(y) * place.w + x) * 4 + c]
                        = pixels[(static_cast<std::size_t>(y) * picture->width + x) * 4 + c];
    }
    std::vector<std::uint8_t> const png = assets::encode_png(place.w, place.h, rgba);
    return "data:image/png;base64," + tools::base64(std::string(png.begin(), png.end()));
}

// The report's words, with "{detail}" where the page puts what went wrong.
std::string damaged_words(std::string const& program)
{
    platform::ErrorReport const report
        = platform::error_report(program, rt::RuntimeError(rt::ErrorCode::MalformedFormDescription, "{detail}"));
    return "<template id=\"tavrel-damaged\" data-title=\"" + web::escaped(report.title) + "\" data-text=\""
        + web::escaped(report.text) + "\" data-line=\"" + web::escaped(report.line) + "\" data-button=\""
        + web::escaped(web::report_button) + "\" data-ended=\"" + web::escaped(web::ended_text) + "\"></template>\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fputs("usage: tavrel_draw_window <description> <words-out> [<window-out>]\n", stderr);
        return 2;
    }
    try {
        std::vector<std::uint8_t> const description = read_file(argv[1]);
        std::unique_ptr<platform::Form> form = platform::read_form(description);
        write_file(argv[2], damaged_words(form->name()));
        if (argc == 4) {
            route::bind_handlers(*form);
            form->raise_load();
            form->show_pictures();
            web::Layout const layout = web::layout_of(*form);
            write_file(argv[3], web::still_markup(*form, layout, box_image));
        }
    } catch (rt::RuntimeError const& e) {
        std::fprintf(stderr, "tavrel_draw_window: %s\n", platform::error_report("", e).line.c_str());
        return 1;
    } catch (std::exception const& e) {
        std::fprintf(stderr, "tavrel_draw_window: %s\n", e.what());
        return 1;
    }
    return 0;
}
