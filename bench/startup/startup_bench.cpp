// Start-up time of the program against a bare window of the same toolkit:
// starts them alternately on one Xvfb and measures, from the fork to the
// moment the window is mapped and its route count (the bare window's one
// line) shows on the screen, the way a user would see it. Prints the medians
// and their ratio. A benchmark, not a test: it asserts nothing.
//
//   startup_bench --program COMMAND --bare COMMAND [--wine] [--runs N]
//
// COMMAND is the program and its leading arguments separated by ';'. With
// --wine the window's frame lies inside its X window (Wine without a window
// manager), and the client area is found by its background colour.
#include "tests/e2e/launcher.h"
#include "tests/e2e/x_session.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using clock_type = std::chrono::steady_clock;

// Where the program shows its route count, in client pixels, and the
// background both windows share.
constexpr int line_x = 248, line_y = 248, line_w = 89, line_h = 25;
constexpr std::uint32_t background = 0xC0C0FF;

struct Candidate {
    std::string name;
    std::vector<std::string> command;
    std::string title_part;
    std::vector<double> times_ms;
    std::vector<double> cpu_ms;
};

// The processor time a process has had so far, all its threads together,
// those that have ended included: a program may do part of its start-up on
// a second thread. On a busy machine it tells more than the clock.
double cpu_ms(pid_t pid)
{
    clockid_t clock {};
    timespec time {};
    if (clock_getcpuclockid(pid, &clock) != 0 || clock_gettime(clock, &time) != 0)
        return 0;
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_nsec) / 1e6;
}

// The window's pixels, read straight from one XGetImage.
class Shot {
public:
    Shot(Display* display, Window window, int x, int y, int width, int height)
        : m_image(XGetImage(
            display, window, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), AllPlanes, ZPixmap))
    { }
    ~Shot()
    {
        if (m_image)
            XDestroyImage(m_image);
    }
    Shot(Shot const&) = delete;
    Shot& operator=(Shot const&) = delete;

    bool valid() const { return m_image != nullptr; }
    int width() const { return m_image->width; }
    int height() const { return m_image->height; }
    std::uint32_t at(int x, int y) const { return static_cast<std::uint32_t>(XGetPixel(m_image, x, y)) & 0xFFFFFF; }

private:
    XImage* m_image;
};

// The client area's origin in the window: the top-left pixel of the
// background colour, or (0, 0) where the window is the client area.
std::optional<std::pair<int, int>> client_origin(Shot const& shot, bool frame_inside)
{
    if (!frame_inside)
        return std::pair { 0, 0 };
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.at(x, y) == background)
                return std::pair { x, y };
    return std::nullopt;
}

// Whether the line shows: at least ten dark pixels in a shot of its place,
// on a light ground that covers at least half of it. A window not yet
// painted shows whatever lies under it, and black would pass for text.
bool line_drawn(Shot const& line)
{
    int dark = 0;
    int light = 0;
    for (int y = 0; y < line.height(); ++y)
        for (int x = 0; x < line.width(); ++x) {
            std::uint32_t const p = line.at(x, y);
            if (((p >> 16) & 0xFF) < 100 && ((p >> 8) & 0xFF) < 100 && (p & 0xFF) < 100)
                ++dark;
            else if (((p >> 16) & 0xFF) >= 160 && ((p >> 8) & 0xFF) >= 160 && (p & 0xFF) >= 160)
                ++light;
        }
    return dark >= 10 && light >= line.width() * line.height() / 2;
}

struct Timing {
    double elapsed_ms;
    double cpu_ms;
};

// One start: milliseconds to the drawn window, or nothing when it never came.
std::optional<Timing> measure(
    e2e::XSession& x, std::string const& display, Candidate const& candidate, bool frame_inside)
{
    // The last window's pixels stay on the screen where the root window has
    // no background of its own, and a new window shows them until it paints:
    // mid grey, neither dark nor light, leaves nothing to mistake for a line.
    Window const root = DefaultRootWindow(x.display());
    XSetWindowBackground(x.display(), root, 0x808080);
    XClearWindow(x.display(), root);
    XSync(x.display(), False);
    auto const started = clock_type::now();
    pid_t const pid = e2e::spawn_process(candidate.command, { "DISPLAY=" + display });
    auto const deadline = started + 60s;
    std::optional<Timing> timing;
    Window window = None;
    std::optional<std::pair<int, int>> origin;
    while (clock_type::now() < deadline) {
        if (window == None)
            window = x.find_window(pid, candidate.title_part);
        if (window != None) {
            XWindowAttributes attributes {};
            if (XGetWindowAttributes(x.display(), window, &attributes) && attributes.map_state == IsViewable) {
                // The whole window once, to find the client area; then only
                // the line's place, so that watching costs the X server
                // little of the time being measured.
                if (!origin) {
                    Shot const shot(x.display(), window, 0, 0, attributes.width, attributes.height);
                    if (shot.valid())
                        origin = client_origin(shot, frame_inside);
                }
                if (origin && origin->first + line_x + line_w <= attributes.width
                    && origin->second + line_y + line_h <= attributes.height) {
                    Shot const line(
                        x.display(), window, origin->first + line_x, origin->second + line_y, line_w, line_h);
                    if (line.valid() && line_drawn(line)) {
                        timing
                            = Timing { std::chrono::duration<double, std::milli>(clock_type::now() - started).count(),
                                  cpu_ms(pid) };
                        break;
                    }
                }
            }
        }
        if (e2e::wait_for_exit(pid, 0ms))
            break;
        std::this_thread::sleep_for(1ms);
    }
    if (window != None)
        x.request_close(window);
    if (!e2e::wait_for_exit(pid, 10s)) {
        kill(pid, SIGKILL);
        e2e::wait_for_exit(pid, 5s);
    }
    return timing;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::size_t const n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    Candidate program { "program", {}, "Математика - правило за умножение", {}, {} };
    Candidate bare { "bare window", {}, "Tavrel_Oskund bare window", {}, {} };
    bool frame_inside = false;
    int runs = 20;
    for (int i = 1; i < argc; ++i) {
        std::string const arg = argv[i];
        if (arg == "--program" && i + 1 < argc)
            program.command = e2e::split_list(argv[++i]);
        else if (arg == "--bare" && i + 1 < argc)
            bare.command = e2e::split_list(argv[++i]);
        else if (arg == "--wine")
            frame_inside = true;
        else if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: startup_bench --program COMMAND --bare COMMAND [--wine] [--runs N]\n");
            return 2;
        }
    }
    if (program.command.empty() || bare.command.empty()) {
        std::fprintf(stderr, "usage: startup_bench --program COMMAND --bare COMMAND [--wine] [--runs N]\n");
        return 2;
    }

    e2e::XServer server;
    e2e::XSession x(server.display_name());
    // One start of each first, not counted: it fills the caches both share.
    for (Candidate* c : { &program, &bare })
        if (!measure(x, server.display_name(), *c, frame_inside)) {
            std::fprintf(stderr, "%s: no window with its line appeared\n", c->name.c_str());
            return 1;
        }
    // Whichever starts right after the other has ended finds the X server
    // and the caches in a different state, worth milliseconds under Wine:
    // the order alternates from round to round.
    for (int run = 0; run < runs; ++run)
        for (Candidate* c : run % 2 ? std::array { &bare, &program } : std::array { &program, &bare }) {
            auto const time = measure(x, server.display_name(), *c, frame_inside);
            if (!time) {
                std::fprintf(stderr, "%s: no window with its line appeared\n", c->name.c_str());
                return 1;
            }
            c->times_ms.push_back(time->elapsed_ms);
            c->cpu_ms.push_back(time->cpu_ms);
        }
    double const p = median(program.times_ms);
    double const b = median(bare.times_ms);
    std::printf("%d starts each, from process start to the window mapped with its line drawn (median):\n", runs);
    std::printf("  program      %7.1f ms  (%s)\n", p, program.command.back().c_str());
    std::printf("  bare window  %7.1f ms  (%s)\n", b, bare.command.back().c_str());
    std::printf("  ratio        %7.2fx\n", p / b);
    // Processor time of the started process alone, all threads (for Wine, not its server).
    double const pc = median(program.cpu_ms);
    double const bc = median(bare.cpu_ms);
    std::printf("  processor time in that span: program %.1f ms, bare window %.1f ms, ratio %.2fx\n", pc, bc, pc / bc);
    return 0;
}
