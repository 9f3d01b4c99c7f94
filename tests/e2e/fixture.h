// The suite's desktop (one Xvfb per test binary) and the fixture that starts
// a fresh instance of the program for each test, finds its window and drives
// it in client-area coordinates.
#pragma once

// GoogleTest before Xlib, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include "image.h"
#include "label_reader.h"
#include "launcher.h"
#include "x_session.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace e2e {

// Lives from the first test to the last.
class Desktop : public ::testing::Environment {
public:
    explicit Desktop(LaunchPlan plan);
    static Desktop& get() { return *s_desktop; }

    void SetUp() override;
    void TearDown() override;

    LaunchPlan const& plan() const { return m_plan; }
    Launcher const& launcher() const { return m_launcher; }
    XSession& x() { return *m_session; }
    std::string const& display() const { return m_server->display_name(); }
    LabelReader const& route_count_reader();
    // Start-up times are measured, not judged: the suite prints them at the end.
    void record_startup(std::chrono::milliseconds time) { m_startups.push_back(time); }

private:
    static Desktop* s_desktop;
    LaunchPlan m_plan;
    Launcher m_launcher;
    std::unique_ptr<XServer> m_server;
    std::unique_ptr<XSession> m_session;
    std::unique_ptr<LabelReader> m_reader;
    std::vector<std::chrono::milliseconds> m_startups;
};

class WindowTest : public ::testing::Test {
protected:
    // Starts the program and waits for its complete window.
    void SetUp() override;
    // Closes the window; the program must end.
    void TearDown() override;

    // The steps of SetUp, for tests that start the program differently:
    // spawn it, then wait for a mapped window whose title holds title_part.
    void launch(std::vector<std::string> const& arguments = {});
    Window wait_for_window(std::string_view title_part);

    XSession& x() { return Desktop::get().x(); }

    // The whole client area once it has stopped changing.
    Image screen();
    // Waits until two captures in a row are the same.
    void settle();
    // Whether the part of the client area shows exactly this image at some
    // moment within a second and a half: a blinking caret (Windows' edit
    // boxes) may hide it at any single moment.
    bool shows(Rect part, Image const& expected);

    void click(int x, int y, int times = 1);
    void middle_click(int x, int y);
    void key(std::string_view combo);
    void type(std::string_view text);
    void wheel(int x, int y, int notches);

    // The route-count label as read from the screen.
    Reading read_route_count();
    std::string route_count() { return read_route_count().text; }

    // Selects entry k of segment selector i with the pointer alone: the
    // scroll bar's arrows until k is in view, then a click on it.
    void pick_with_pointer(int i, int k);
    // The middle of row r (0 = top) of segment selector i.
    static std::pair<int, int> row_point(int i, int r);

    // True while the program's process runs.
    bool running();
    // Asks the window to close and waits; the exit status, or nothing.
    std::optional<int> close_window();

    // The command-line arguments SetUp starts the program with.
    std::vector<std::string> m_arguments;
    pid_t m_pid = -1;
    Window m_window = 0;
    Rect m_client; // in screen coordinates
    std::chrono::milliseconds m_startup {};
    std::chrono::steady_clock::time_point m_started;

private:
    Rect locate_client();
    Image capture_client();
};

} // namespace e2e
