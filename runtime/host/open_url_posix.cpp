// ZqGlfwGame::OpenUrl on POSIX systems (open_url_windows.cpp is the Windows
// one): hands a URL to the desktop's opener, xdg-open, in a process of its own.
//
// No shell is involved: the URL is one argument of execvp, so no character
// in it is interpreted. The opener runs in a grandchild that is re-parented
// to init (the intermediate child is reaped at once), so it never becomes a
// zombie and never blocks the game. Its console streams go to /dev/null so
// that its messages do not mix with the game's output. Nothing is reported
// back, as the framework expects.
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "runtime/host/glfw_game.h"

namespace {

// In the child: only async-signal-safe calls until execvp.
[[noreturn]] void ExecOpener(char* const argv[]) {
    setsid();
    // The runtime ignores SIGPIPE, and an ignored signal stays ignored
    // across exec: give the opener (and the browser it starts) the default.
    signal(SIGPIPE, SIG_DFL);
    int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        if (null > STDERR_FILENO) close(null);
    }
    execvp(argv[0], argv);
    _exit(127);
}

}  // namespace

void ZqGlfwGame::OpenUrl(String url) {
    // Each unit narrowed to its low byte, as the opener takes 8-bit text.
    std::string narrow = url.ToNarrow();
    // A leading "-" would be read as one of the opener's options.
    if (narrow.empty() || narrow[0] == '-') return;

    char opener[] = "xdg-open";
    char* const argv[] = {opener, narrow.data(), nullptr};
    pid_t child = fork();
    if (child < 0) return;
    if (child == 0) {
        pid_t grandchild = fork();
        if (grandchild == 0) ExecOpener(argv);
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}
