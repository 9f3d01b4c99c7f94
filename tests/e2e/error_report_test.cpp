// An error nobody catches: the platform shows a report, waits for the user to
// dismiss it, and only then ends the process with the error exit code. Runs
// the error report test program, which is the program's platform with a
// fault built in.
#include "fixture.h"
#include "layout.h"

#include <csignal>

namespace e2e {
namespace {

using namespace std::chrono_literals;

constexpr int runtime_error_exit_code = 3;

struct Fault {
    char const* name;
    bool window_first; // the main window opens before the fault
};

class ErrorReportTest : public WindowTest, public ::testing::WithParamInterface<Fault> {
protected:
    void SetUp() override
    {
        Desktop& desktop = Desktop::get();
        m_started = std::chrono::steady_clock::now();
        m_pid = desktop.launcher().spawn_error_program(desktop.display(), GetParam().name);
        if (m_pid < 0)
            GTEST_SKIP() << "no error report test program given (--error-program)";
    }

    void TearDown() override
    {
        if (m_pid > 0 && running()) {
            kill(m_pid, SIGKILL);
            wait_for_exit(m_pid, 5s);
        }
    }
};

TEST_P(ErrorReportTest, TheReportWaitsForTheUserThenTheProgramEnds)
{
    if (GetParam().window_first) {
        m_window = wait_for_window("Математика");
        ASSERT_NE(m_window, None);
        m_client = x().screen_rect(m_window);
        auto const [x0, y0] = row_point(0, 0);
        x().click(m_client.x + x0, m_client.y + y0);
    }
    Window const report = wait_for_window("Tavrel_Oskund");
    ASSERT_NE(report, None);
    // The report stays until the user answers it.
    EXPECT_FALSE(wait_for_exit(m_pid, 500ms).has_value());
    x().give_focus(report);
    x().key("Return");
    auto const status = wait_for_exit(m_pid, 10s);
    ASSERT_TRUE(status.has_value()) << "the program did not end after the report";
    EXPECT_EQ(*status, runtime_error_exit_code);
    m_pid = -1;
}

INSTANTIATE_TEST_SUITE_P(Faults, ErrorReportTest,
    ::testing::Values(Fault { "description", false }, Fault { "load", false }, Fault { "click", true }),
    [](auto const& info) { return std::string(info.param.name); });

} // namespace
} // namespace e2e
