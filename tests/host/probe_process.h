// Test support: runs host_probe_app as a child process and reads the lines
// it prints. The child's standard input is /dev/null, so a runtime error
// ends it at once instead of waiting for a debugger.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

class ProbeProcess {
  public:
    // Starts the probe named by $PROBE_APP with PROBE_MODE=mode (none when
    // empty) and the given command-line arguments.
    explicit ProbeProcess(const std::string& mode = "", const std::vector<std::string>& arguments = {});
    // Kills the child if it is still running.
    ~ProbeProcess();
    ProbeProcess(const ProbeProcess&) = delete;
    ProbeProcess& operator=(const ProbeProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }
    // Reads lines until one satisfies `match` (returned) or `seconds` pass
    // or the output ends (empty string).
    std::string WaitFor(const std::function<bool(const std::string&)>& match, double seconds = 10);
    std::string WaitForPrefix(const std::string& prefix, double seconds = 10);
    // Every line read so far.
    const std::vector<std::string>& Lines() const { return lines_; }
    // Reads the rest of the output and waits for the exit; the exit code, or
    // -1 when the child did not end within `seconds` (it is then killed).
    int WaitExit(double seconds = 10);

  private:
    bool ReadLine(double seconds, std::string& line);

    pid_t pid_ = -1;
    int out_ = -1;
    std::string buffer_;
    std::vector<std::string> lines_;
};
