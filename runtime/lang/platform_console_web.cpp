// Console and fatal signals in the browser (the list is in
// platform_console.h). Printed lines reach the page's console (Module.print
// in web/page.js); a WebAssembly fault does not raise a signal but stops
// the program, and the page shows it. No debugger can talk through the
// page, so standard input counts as a terminal: a fatal error ends the
// program instead of waiting for debugger commands.
#include <ctime>

#include "runtime/lang/platform_console.h"

void zq_PrepareConsole() {}

void zq_InstallSignalHandlers() {}

bool zq_StdinIsTerminal() {
    return true;
}

void zq_LocalTime(std::time_t moment, std::tm& local) {
    localtime_r(&moment, &local);
}
