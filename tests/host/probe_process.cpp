// Test support: the probe child process (see probe_process.h).
#include "tests/host/probe_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double SecondsLeft(Clock::time_point deadline) {
    return std::chrono::duration<double>(deadline - Clock::now()).count();
}

}  // namespace

ProbeProcess::ProbeProcess(const std::string& mode, const std::vector<std::string>& arguments) {
    const char* program = std::getenv("PROBE_APP");
    if (!program) return;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return;

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "PROBE_MODE=", 11) != 0) env.emplace_back(*e);
    if (!mode.empty()) env.push_back("PROBE_MODE=" + mode);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    std::vector<std::string> args{program};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program, &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    out_ = pipeFds[0];
}

ProbeProcess::~ProbeProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
}

bool ProbeProcess::ReadLine(double seconds, std::string& line) {
    Clock::time_point deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    while (true) {
        size_t newline = buffer_.find('\n');
        if (newline != std::string::npos) {
            line = buffer_.substr(0, newline);
            buffer_.erase(0, newline + 1);
            lines_.push_back(line);
            return true;
        }
        double left = SecondsLeft(deadline);
        if (out_ < 0 || left <= 0) return false;
        pollfd p{out_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left * 1000) + 1) <= 0) continue;
        char chunk[4096];
        ssize_t n = read(out_, chunk, sizeof chunk);
        if (n <= 0) {
            close(out_);
            out_ = -1;
            return false;
        }
        buffer_.append(chunk, static_cast<size_t>(n));
    }
}

std::string ProbeProcess::WaitFor(const std::function<bool(const std::string&)>& match, double seconds) {
    Clock::time_point deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    std::string line;
    while (ReadLine(SecondsLeft(deadline), line))
        if (match(line)) return line;
    return std::string();
}

std::string ProbeProcess::WaitForPrefix(const std::string& prefix, double seconds) {
    return WaitFor([&](const std::string& l) { return l.rfind(prefix, 0) == 0; }, seconds);
}

int ProbeProcess::WaitExit(double seconds) {
    if (pid_ <= 0) return -1;
    Clock::time_point deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    std::string line;
    while (ReadLine(SecondsLeft(deadline), line)) {
    }
    while (true) {
        int status = 0;
        pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (SecondsLeft(deadline) <= 0) return -1;
        usleep(10000);
    }
}
