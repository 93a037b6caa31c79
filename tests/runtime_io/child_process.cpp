// Child processes for tests (see child_process.h).
#include "tests/runtime_io/child_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

std::string read_all(int fd) {
    std::string text;
    lseek(fd, 0, SEEK_SET);
    char chunk[4096];
    ssize_t n;
    while ((n = read(fd, chunk, sizeof chunk)) > 0) text.append(chunk, static_cast<size_t>(n));
    return text;
}

// An anonymous file to capture a stream: no pipe to drain while waiting.
int capture_file() {
    std::FILE* file = std::tmpfile();
    int fd = dup(fileno(file));
    std::fclose(file);
    return fd;
}

}  // namespace

ChildResult RunChild(const std::function<void()>& body, const std::string& input) {
    int in[2];
    if (pipe(in) != 0) std::abort();
    int out = capture_file(), err = capture_file();
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out, 1);
        dup2(err, 2);
        close(in[0]);
        close(in[1]);
        body();
        std::fflush(nullptr);
        _exit(77);
    }
    close(in[0]);
    // The test inputs are short: they fit the pipe without a reader.
    if (!input.empty() && write(in[1], input.data(), input.size()) < 0) std::abort();
    close(in[1]);
    int status = 0;
    waitpid(pid, &status, 0);
    ChildResult result;
    result.exited = WIFEXITED(status);
    result.code = result.exited ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.out = read_all(out);
    result.err = read_all(err);
    close(out);
    close(err);
    return result;
}

pid_t StartChild(const std::function<void()>& body) {
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        body();
        _exit(77);
    }
    return pid;
}
