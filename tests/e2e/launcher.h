// How the program under test is started: the one place that knows whether it
// is the native Linux build or a Windows build under Wine. Everything else in
// the suite sees only a process id and a window.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace e2e {

// What the test binary's command line says:
//   --native COMMAND     the Linux build
//   --wine COMMAND       a Windows build under Wine, in a prepared prefix
//   --pictures DIR       where the build wrote the road pictures (optional)
//   --error-program COMMAND   the same platform with a fault built in, which
//                        takes the fault's name as its argument (optional)
// COMMAND is one argument: the program and its leading arguments separated by
// ';' (a CMake list), e.g. "tests/e2e/wine_run.sh;PREFIX;LOADER;Tavrel_Oskund.exe".
struct LaunchPlan {
    enum class Kind { Native, Wine } kind = Kind::Native;
    std::vector<std::string> command;
    std::vector<std::string> error_command;
    std::string pictures_dir;

    // Takes the options it knows out of argv; throws on a bad command line.
    static LaunchPlan from_args(int& argc, char** argv);
};

class Launcher {
public:
    explicit Launcher(LaunchPlan plan)
        : m_plan(std::move(plan))
    { }

    // Starts one instance of the program on the display, with extra arguments
    // after the command's own. The process ends with the test binary at the latest.
    pid_t spawn(std::string const& display, std::vector<std::string> const& arguments = {}) const;
    // Starts the error report test program with the fault's name; -1 when
    // the command line named none.
    pid_t spawn_error_program(std::string const& display, std::string const& fault) const;

    // True when the program's top-level X window holds its own frame and
    // caption (Wine without a window manager), so the client area lies inside.
    bool frame_inside_window() const { return m_plan.kind == LaunchPlan::Kind::Wine; }
    // How long a window may take to appear; Wine's first start is slow.
    std::chrono::milliseconds start_timeout() const;
    // How long the window may go on repainting after input before it counts
    // as never settling: Wine paints through its server, which under an
    // emulated machine takes seconds for a burst of clicks.
    std::chrono::milliseconds settle_timeout() const;
    std::string const& program() const { return m_plan.command.back(); }

private:
    LaunchPlan m_plan;
};

// The items of a CMake list ("a;b;c"), empty items left out.
std::vector<std::string> split_list(std::string const& list);

// Starts a process with extra environment entries; its output goes to the
// test's own stderr.
pid_t spawn_process(std::vector<std::string> const& argv, std::vector<std::string> const& environment);

// Waits for a child to end; its exit status (128 + signal when killed), or
// nothing on timeout.
std::optional<int> wait_for_exit(pid_t pid, std::chrono::milliseconds timeout);

} // namespace e2e
