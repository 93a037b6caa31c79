// Test support: ProgramRun (see program_run.h).
#include "tests/package/program_run.h"

#include "tests/host/x11_driver.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>

namespace {

std::string TempFile() {
    char pattern[] = "/tmp/skitterwind_run_XXXXXX";
    int fd = mkstemp(pattern);
    if (fd < 0) return std::string();
    close(fd);
    return pattern;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

ProgramRun::ProgramRun(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                       const std::string& folder)
    : outPath_(TempFile()), errPath_(TempFile()) {
    if (argv.empty() || outPath_.empty() || errPath_.empty()) return;
    pid_ = fork();
    if (pid_ != 0) return;
    // The child. The tests start programs from their one thread, so the
    // allocations below cannot meet a lock held by another thread.
    int in = open("/dev/null", O_RDONLY);
    int out = open(outPath_.c_str(), O_WRONLY | O_TRUNC);
    int err = open(errPath_.c_str(), O_WRONLY | O_TRUNC);
    if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(126);
    for (const std::string& e : env) {
        size_t eq = e.find('=');
        if (eq == std::string::npos)
            unsetenv(e.c_str());
        else
            setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
    }
    if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(126);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
}

ProgramRun::~ProgramRun() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (!outPath_.empty()) unlink(outPath_.c_str());
    if (!errPath_.empty()) unlink(errPath_.c_str());
}

int ProgramRun::WaitExit(double seconds) {
    if (pid_ <= 0) return -1;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (true) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
            return -1;
        }
        usleep(10000);
    }
}

std::string ProgramRun::Out() const {
    return ReadAll(outPath_);
}

std::string ProgramRun::Err() const {
    return ReadAll(errPath_);
}

bool ProgramRun::WaitForOutput(const std::string& text, double seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
        if (Out().find(text) != std::string::npos) return true;
        usleep(100000);
    }
    return Out().find(text) != std::string::npos;
}

std::string ProgramRun::WaitForWindow(double seconds) {
    if (pid_ <= 0) return std::string();
    const std::string search = "xdotool search --onlyvisible --pid " + std::to_string(pid_) + " | head -1";
    std::string window;
    for (int i = 0; i < seconds * 5 && (window = xdriver::Run(search)).empty(); ++i) usleep(200000);
    return window;
}
