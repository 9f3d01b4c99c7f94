// window_shot <program> <out.png>
//
// The picture of the real window that software centres show, taken when the
// package is built: the program started on a private Xvfb, its client area
// read once it has stood still with the route count drawn, written as a PNG.
// The same program and fonts give the same bytes.
#include "assets/png.h"
#include "launcher.h"
#include "layout.h"
#include "x_session.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace {

using namespace std::chrono_literals;

bool route_count_drawn(e2e::Image const& shot)
{
    e2e::Rect const label = e2e::element("Label1(1)").place;
    for (int y = label.y; y < label.y + label.h; ++y)
        for (int x = label.x + 1; x < label.x + label.w; ++x)
            if ((shot.at(x, y) >> 8 & 0xFF) < 0x60)
                return true;
    return false;
}

e2e::Image still_window(e2e::XSession& x, pid_t pid)
{
    auto const deadline = std::chrono::steady_clock::now() + 30s;
    e2e::Image last;
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(200ms);
        if (e2e::wait_for_exit(pid, 0ms))
            throw std::runtime_error("the program ended before its window could be taken");
        Window const window = x.find_window(pid, "Математика - правило за умножение");
        if (window == None)
            continue;
        e2e::Rect const place = x.screen_rect(window);
        if (place.w != e2e::client_width || place.h != e2e::client_height)
            continue;
        e2e::Image shot = x.capture(place);
        if (shot == last && route_count_drawn(shot))
            return shot;
        last = std::move(shot);
    }
    throw std::runtime_error("no still window with its route count within 30 s");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: window_shot <program> <out.png>\n", stderr);
        return 2;
    }
    pid_t pid = -1;
    try {
        e2e::XServer server;
        e2e::XSession x(server.display_name());
        pid = e2e::spawn_process({ argv[1] }, { "DISPLAY=" + server.display_name() });
        e2e::Image const shot = still_window(x, pid);
        std::vector<std::uint8_t> rgba;
        for (int y = 0; y < shot.height(); ++y)
            for (int px = 0; px < shot.width(); ++px) {
                e2e::Rgb const c = shot.at(px, y);
                rgba.insert(rgba.end(), { std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c), 0xFF });
            }
        std::vector<std::uint8_t> const png = assets::encode_png(shot.width(), shot.height(), rgba);
        std::ofstream out(argv[2], std::ios::binary);
        out.write(reinterpret_cast<char const*>(png.data()), static_cast<std::streamsize>(png.size()));
        if (!out.flush())
            throw std::runtime_error(std::string("cannot write ") + argv[2]);
        kill(pid, SIGTERM);
        e2e::wait_for_exit(pid, 5s);
    } catch (std::exception const& error) {
        if (pid > 0)
            kill(pid, SIGKILL);
        std::fprintf(stderr, "window_shot: %s\n", error.what());
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
