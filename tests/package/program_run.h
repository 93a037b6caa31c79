// Test support for the package and command-line tests: runs a program with
// arguments, environment changes and a working folder of its own, and keeps
// its standard output and error (in temporary files, read after the exit).
// Standard input is /dev/null. Not thread-safe; one object per child.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class ProgramRun {
  public:
    // Starts argv[0] (a path) with `argv`. `env` entries "NAME=value" set a
    // variable and "NAME" removes it; `folder` is the working folder (empty:
    // this process's).
    ProgramRun(const std::vector<std::string>& argv, const std::vector<std::string>& env = {},
               const std::string& folder = "");
    // Kills the child if it is still running and removes the output files.
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    pid_t Pid() const { return pid_; }
    // Waits for the exit: its status (128 + signal when killed by one), or
    // -1 when the child did not end within `seconds` (it is then killed).
    int WaitExit(double seconds = 20);
    // What the child wrote so far.
    std::string Out() const;
    std::string Err() const;
    // Waits until the child's standard output holds `text`; false when it
    // does not within `seconds`.
    bool WaitForOutput(const std::string& text, double seconds);
    // The child's first visible X window (an id for xdotool), or empty when
    // none shows within `seconds`.
    std::string WaitForWindow(double seconds);

  private:
    pid_t pid_ = -1;
    std::string outPath_, errPath_;
};
