// Console and fatal signals on POSIX systems (the list is in
// platform_console.h): sigaction on an alternate signal stack, SIGPIPE
// ignored, isatty.
#include <unistd.h>

#include <csignal>

#include "runtime/lang/errors.h"
#include "runtime/lang/platform_console.h"

void zq_PrepareConsole() {}

void zq_InstallSignalHandlers() {
    // A stack overflow faults on the guard page with no stack left for the
    // handler; the alternate stack lets it report the error all the same.
    static char alternateStack[64 * 1024];
    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    sigaltstack(&stack, nullptr);

    struct sigaction action {};
    action.sa_handler = sighandler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_ONSTACK;
    for (int signal : {SIGSEGV, SIGILL, SIGFPE}) sigaction(signal, &action, nullptr);

    // A console stream whose reader went away must not kill the process.
    std::signal(SIGPIPE, SIG_IGN);
}

bool zq_StdinIsTerminal() {
    return isatty(STDIN_FILENO) != 0;
}

void zq_LocalTime(std::time_t moment, std::tm& local) {
    localtime_r(&moment, &local);
}
