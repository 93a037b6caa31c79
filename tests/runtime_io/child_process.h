// Runs a piece of the test in a real child process (fork) with its own
// standard streams: standard input is a pipe fed with the given text and
// then closed; standard output and standard error are captured whole.
//
// The child shares the parent's memory image at the moment of the fork, so
// objects created before the call exist at the same addresses in the child.
// The parent must not have other threads running (fork copies only the
// calling thread).
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

struct ChildResult {
    bool exited = false;  // ended through exit()
    int code = -1;        // exit code as the shell sees it (0..255)
    int signal = 0;       // the killing signal when it did not exit
    std::string out;      // everything written to standard output
    std::string err;      // everything written to standard error
};

// Runs `body` in a child. If body returns, the child exits with code 77.
ChildResult RunChild(const std::function<void()>& body, const std::string& input = std::string());

// The same with no pipes: the child inherits the streams, and the parent
// waits for it only through the returned process id.
pid_t StartChild(const std::function<void()>& body);
