#include "fixture.h"

#include "layout.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <thread>

namespace e2e {

using namespace std::chrono_literals;
using clock = std::chrono::steady_clock;

namespace {

// A list row's height in the window font: two rows fill the 38 px inside a
// selector's 2 px frame.
constexpr int list_frame = 2;
constexpr int list_row = 19;
constexpr int scroll_bar_width = 17;
constexpr char const* title_part = "Математика - правило за умножение";

} // namespace

Desktop* Desktop::s_desktop = nullptr;

Desktop::Desktop(LaunchPlan plan)
    : m_plan(std::move(plan))
    , m_launcher(m_plan)
{
    s_desktop = this;
}

void Desktop::SetUp()
{
    m_server = std::make_unique<XServer>();
    m_session = std::make_unique<XSession>(m_server->display_name());
}

void Desktop::TearDown()
{
    if (!m_startups.empty()) {
        std::sort(m_startups.begin(), m_startups.end());
        std::printf("[ start-up ] %zu starts of %s: fastest %lld ms, median %lld ms, slowest %lld ms to a complete "
                    "window\n",
            m_startups.size(), m_launcher.program().c_str(), static_cast<long long>(m_startups.front().count()),
            static_cast<long long>(m_startups[m_startups.size() / 2].count()),
            static_cast<long long>(m_startups.back().count()));
    }
    m_reader.reset();
    m_session.reset();
    m_server.reset();
}

LabelReader const& Desktop::route_count_reader()
{
    Rect const label = element("Label1(1)").place;
    if (!m_reader)
        m_reader = std::make_unique<LabelReader>(m_session->display(), label.w, label.h, route_count_colour);
    return *m_reader;
}

void WindowTest::launch(std::vector<std::string> const& arguments)
{
    Desktop& desktop = Desktop::get();
    m_started = clock::now();
    m_pid = desktop.launcher().spawn(desktop.display(), arguments);
}

Window WindowTest::wait_for_window(std::string_view title_part)
{
    auto const deadline = m_started + Desktop::get().launcher().start_timeout();
    Window window = None;
    while ((window = x().find_window(m_pid, title_part)) == None) {
        if (!running()) {
            ADD_FAILURE() << "the program ended before its window appeared";
            return None;
        }
        if (clock::now() > deadline) {
            ADD_FAILURE() << "no window appeared";
            return None;
        }
        std::this_thread::sleep_for(5ms);
    }
    return window;
}

void WindowTest::SetUp()
{
    Desktop& desktop = Desktop::get();
    launch(m_arguments);
    m_window = wait_for_window(title_part);
    ASSERT_NE(m_window, None);
    // The window is ready once its client area shows and the route count is written.
    Rect const label = element("Label1(1)").place;
    auto const deadline = m_started + desktop.launcher().start_timeout();
    for (;;) {
        m_client = locate_client();
        if (m_client.w > 0) {
            Image const shot = capture_client();
            if (shot.width() >= label.x + label.w && shot.height() >= label.y + label.h
                && desktop.route_count_reader().has_text(shot.crop(label)))
                break;
        }
        ASSERT_LT(clock::now(), deadline) << "the window never showed its route count";
        std::this_thread::sleep_for(5ms);
    }
    m_startup = std::chrono::duration_cast<std::chrono::milliseconds>(clock::now() - m_started);
    desktop.record_startup(m_startup);
    // What a window manager does for a new window: give it the keyboard.
    x().give_focus(m_window);
    x().move_pointer(m_client.x + 2, m_client.y + 300);
    settle();
}

void WindowTest::TearDown()
{
    if (m_pid <= 0)
        return;
    if (!running()) {
        ADD_FAILURE() << "the program ended during the test";
        return;
    }
    if (!close_window()) {
        kill(m_pid, SIGKILL);
        wait_for_exit(m_pid, 5s);
        ADD_FAILURE() << "the program did not end when its window was closed";
    }
}

bool WindowTest::running()
{
    return m_pid > 0 && !wait_for_exit(m_pid, 0ms).has_value();
}

std::optional<int> WindowTest::close_window()
{
    x().request_close(m_window);
    auto status = wait_for_exit(m_pid, 10s);
    if (status)
        m_pid = -1;
    return status;
}

// The client area is the window itself, unless the window holds its frame:
// then it is the part painted in the window's background colour, which shows
// at all four corners of the client area.
Rect WindowTest::locate_client()
{
    Rect const window = x().screen_rect(m_window);
    if (!Desktop::get().launcher().frame_inside_window())
        return window;
    Image const shot = x().capture(window);
    int left = shot.width(), top = shot.height(), right = -1, bottom = -1;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.at(x, y) == window_colour) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0)
        return {};
    return { window.x + left, window.y + top, right - left + 1, bottom - top + 1 };
}

Image WindowTest::capture_client()
{
    return x().capture(m_client);
}

// True while the process waits for input: XTest events reach the program's
// socket before the X server answers our sync, so a program that sleeps
// after that has handled them.
static bool sleeping(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    auto const end_of_name = line.rfind(')');
    return end_of_name != std::string::npos && end_of_name + 2 < line.size() && line[end_of_name + 2] == 'S';
}

void WindowTest::settle()
{
    auto const deadline = clock::now() + Desktop::get().launcher().settle_timeout();
    // Wine reads the input on its own time, through its server: the window
    // has seen everything sent so far once it answers a ping. Under an
    // emulated machine that can take long enough to look settled before.
    if (m_window && Desktop::get().launcher().frame_inside_window())
        x().ping(m_window, Desktop::get().launcher().settle_timeout());
    while (m_pid > 0 && !sleeping(m_pid) && clock::now() < deadline)
        std::this_thread::sleep_for(2ms);
    std::this_thread::sleep_for(20ms);
    Image last = capture_client();
    while (clock::now() < deadline) {
        std::this_thread::sleep_for(40ms);
        Image now = capture_client();
        if (now == last)
            return;
        last = std::move(now);
    }
    ADD_FAILURE() << "the window kept changing";
}

bool WindowTest::shows(Rect part, Image const& expected)
{
    settle();
    auto const deadline = clock::now() + 1500ms;
    do {
        if (capture_client().crop(part) == expected)
            return true;
        std::this_thread::sleep_for(50ms);
    } while (clock::now() < deadline);
    return false;
}

Image WindowTest::screen()
{
    settle();
    return capture_client();
}

void WindowTest::click(int cx, int cy, int times)
{
    x().click(m_client.x + cx, m_client.y + cy, 1, times);
    settle();
}

void WindowTest::middle_click(int cx, int cy)
{
    x().click(m_client.x + cx, m_client.y + cy, 2);
    settle();
}

void WindowTest::key(std::string_view combo)
{
    x().key(combo);
    settle();
}

void WindowTest::type(std::string_view text)
{
    x().type(text);
    settle();
}

void WindowTest::wheel(int cx, int cy, int notches)
{
    x().wheel(m_client.x + cx, m_client.y + cy, notches);
    settle();
}

Reading WindowTest::read_route_count()
{
    Rect const place = element("Label1(1)").place;
    Image label = screen().crop(place);
    // The heading lies in front of the label's first column.
    for (int y = 0; y < label.height(); ++y)
        label.set(0, y, route_count_colour);
    return Desktop::get().route_count_reader().read(label);
}

std::pair<int, int> WindowTest::row_point(int i, int r)
{
    Rect const list = selector(i);
    return { list.x + list_frame + (list.w - 2 * list_frame - scroll_bar_width) / 2,
        list.y + list_frame + r * list_row + list_row / 2 };
}

void WindowTest::pick_with_pointer(int i, int k)
{
    Rect const list = selector(i);
    int const arrow_x = list.x + list.w - list_frame - scroll_bar_width / 2;
    int const up_arrow_y = list.y + list_frame + scroll_bar_width / 2;
    int const down_arrow_y = list.y + list.h - list_frame - scroll_bar_width / 2;
    // Each click on an arrow scrolls one row: to the top first, then down
    // until entry k is the second row shown (entry 0 stays the first).
    for (int step = 0; step < 8; ++step)
        x().click(m_client.x + arrow_x, m_client.y + up_arrow_y);
    for (int step = 0; step < k - 1; ++step)
        x().click(m_client.x + arrow_x, m_client.y + down_arrow_y);
    settle();
    auto const [px, py] = row_point(i, k == 0 ? 0 : 1);
    click(px, py);
}

} // namespace e2e
