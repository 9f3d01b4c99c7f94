// Start and end of the program as a user sees them: whatever the command line
// holds, the same window opens; closing it, however asked, ends the process
// at once with exit code 0.
#include "fixture.h"

#include <cstdlib>
#include <filesystem>

namespace e2e {
namespace {

using namespace std::chrono_literals;

class StartWithArgumentsTest : public WindowTest, public ::testing::WithParamInterface<std::vector<std::string>> {
protected:
    void SetUp() override
    {
        m_arguments = GetParam();
        WindowTest::SetUp();
    }
};

TEST_P(StartWithArgumentsTest, ShowsTheSameWindowAsAPlainStart)
{
    Image const with_arguments = screen();
    EXPECT_EQ(route_count(), "1*1*1 = 1");
    auto const status = close_window();
    ASSERT_TRUE(status.has_value()) << "still running after the window was closed";
    EXPECT_EQ(*status, 0);

    m_arguments.clear();
    WindowTest::SetUp();
    EXPECT_TRUE(screen() == with_arguments) << "the command line changed what the window shows";
}

INSTANTIATE_TEST_SUITE_P(Lifecycle, StartWithArgumentsTest,
    ::testing::Values(std::vector<std::string> { "--help" },
        std::vector<std::string> { "/?", "-x", "7", "Tavrel_Oskund.frm" },
        std::vector<std::string> { "", "двойка обекти", "--display=:0" }));

class EndTest : public WindowTest { };

TEST_F(EndTest, CloseRequestEndsAtOnceWithCodeZero)
{
    // What the close button and the system menu's Close send.
    auto const asked = std::chrono::steady_clock::now();
    auto const status = close_window();
    ASSERT_TRUE(status.has_value()) << "still running after the close request";
    EXPECT_EQ(*status, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 5s) << "closing took long enough to look like a question";
}

TEST_F(EndTest, AltF4InTheWindowEndsTheProgram)
{
    // On Windows the system turns Alt+F4 into a close; on Linux that is the
    // window manager's part, and its close request is the test above.
    if (!Desktop::get().launcher().frame_inside_window())
        GTEST_SKIP() << "Alt+F4 belongs to the window manager here";
    key("alt+F4");
    auto const status = wait_for_exit(m_pid, 10s);
    ASSERT_TRUE(status.has_value()) << "still running after Alt+F4";
    EXPECT_EQ(*status, 0);
    m_pid = -1;
}

// A teaching program on a shared school account leaves nothing in the home
// directory, not even its toolkit's preference files.
class HomeTest : public WindowTest {
protected:
    void SetUp() override
    {
        if (Desktop::get().launcher().frame_inside_window())
            GTEST_SKIP() << "Wine keeps its own files under its prefix";
        char const* home = std::getenv("HOME");
        m_saved_home = home ? home : "";
        m_home = std::filesystem::temp_directory_path() / ("tavrel-home-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_home);
        setenv("HOME", m_home.c_str(), 1);
        WindowTest::SetUp();
    }
    void TearDown() override
    {
        if (m_home.empty())
            return;
        WindowTest::TearDown();
        setenv("HOME", m_saved_home.c_str(), 1);
        std::filesystem::remove_all(m_home);
    }

    std::filesystem::path m_home;
    std::string m_saved_home;
};

TEST_F(HomeTest, UseLeavesNoFileInTheHomeDirectory)
{
    // Focus marks, a pick in a list and the task text's own handling are
    // where the toolkit first looks up its settings.
    key("Tab");
    pick_with_pointer(1, 2);
    auto const [x, y] = row_point(0, 0);
    click(x, y, 2);
    ASSERT_TRUE(close_window().has_value());
    m_pid = -1;
    EXPECT_TRUE(std::filesystem::is_empty(m_home)) << "files appeared in " << m_home;
}

} // namespace
} // namespace e2e
