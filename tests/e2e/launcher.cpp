#include "launcher.h"

#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace e2e {

using namespace std::chrono_literals;

std::vector<std::string> split_list(std::string const& list)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    for (;;) {
        auto const semicolon = list.find(';', start);
        if (semicolon != start)
            items.push_back(list.substr(start, semicolon - start));
        if (semicolon == std::string::npos)
            break;
        start = semicolon + 1;
    }
    return items;
}

LaunchPlan LaunchPlan::from_args(int& argc, char** argv)
{
    LaunchPlan plan;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        std::string const arg = argv[i];
        bool const has_value = i + 1 < argc;
        if ((arg == "--native" || arg == "--wine") && has_value) {
            plan.kind = arg == "--wine" ? Kind::Wine : Kind::Native;
            plan.command = split_list(argv[++i]);
        } else if (arg == "--error-program" && has_value) {
            plan.error_command = split_list(argv[++i]);
        } else if (arg == "--pictures" && has_value) {
            plan.pictures_dir = argv[++i];
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    if (plan.command.empty())
        throw std::invalid_argument("usage: e2e_tests (--native | --wine) COMMAND [--pictures DIR] "
                                    "[--error-program COMMAND] [gtest options]");
    return plan;
}

pid_t Launcher::spawn(std::string const& display, std::vector<std::string> const& arguments) const
{
    std::vector<std::string> argv = m_plan.command;
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return spawn_process(argv, { "DISPLAY=" + display });
}

pid_t Launcher::spawn_error_program(std::string const& display, std::string const& fault) const
{
    if (m_plan.error_command.empty())
        return -1;
    std::vector<std::string> argv = m_plan.error_command;
    argv.push_back(fault);
    return spawn_process(argv, { "DISPLAY=" + display });
}

std::chrono::milliseconds Launcher::start_timeout() const
{
    return m_plan.kind == LaunchPlan::Kind::Wine ? 120s : 10s;
}

std::chrono::milliseconds Launcher::settle_timeout() const
{
    return m_plan.kind == LaunchPlan::Kind::Wine ? 30s : 5s;
}

pid_t spawn_process(std::vector<std::string> const& argv, std::vector<std::string> const& environment)
{
    pid_t const pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        for (auto const& entry : environment)
            putenv(const_cast<char*>(entry.c_str()));
        std::vector<char*> args;
        for (auto const& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    if (pid < 0)
        throw std::runtime_error("fork failed");
    return pid;
}

std::optional<int> wait_for_exit(pid_t pid, std::chrono::milliseconds timeout)
{
    auto const deadline = std::chrono::steady_clock::now() + timeout;
    do {
        int status = 0;
        pid_t const done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        if (done < 0)
            return -1;
        std::this_thread::sleep_for(5ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

} // namespace e2e
