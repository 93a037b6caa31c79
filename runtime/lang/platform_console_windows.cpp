// Console and fatal signals on Windows (the list is in platform_console.h).
//
// The program is a windowed (GUI-subsystem) program, so a double-click
// opens no console window. Started from a console without redirection it
// has no standard streams of its own: it attaches to its parent's console
// so that printed lines still show there. Redirected streams (pipes,
// files) are inherited as they are. Every stream is switched to binary, so
// that "\n" is written as one byte, as on every other platform.
//
// Fatal signals: the C runtime's exception filter turns an access
// violation into SIGSEGV, an illegal or privileged instruction into SIGILL
// and floating-point faults and integer division by zero into SIGFPE, and
// calls the handler installed with signal(). A stack overflow is not
// mapped, and Windows has no SIGPIPE: a write to a closed pipe just fails.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <csignal>
#include <cstdio>

#include "runtime/lang/errors.h"
#include "runtime/lang/platform_console.h"

namespace {

bool has_stream(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

void zq_PrepareConsole() {
    bool out = has_stream(STD_OUTPUT_HANDLE), err = has_stream(STD_ERROR_HANDLE);
    if ((!out || !err) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!out) std::freopen("CONOUT$", "w", stdout);
        if (!err) std::freopen("CONOUT$", "w", stderr);
    }
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
}

void zq_InstallSignalHandlers() {
    for (int signal : {SIGSEGV, SIGILL, SIGFPE}) std::signal(signal, sighandler);
}

bool zq_StdinIsTerminal() {
    return _isatty(_fileno(stdin)) != 0;
}

void zq_LocalTime(std::time_t moment, std::tm& local) {
    localtime_s(&local, &moment);
}
