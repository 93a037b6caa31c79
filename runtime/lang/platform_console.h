// The platform's part of the process: console output, fatal errors and the
// local clock; the one list of what a platform provides to errors.cpp,
// the host's start-up and ZqGame::GetDate. Each
// platform defines all of it in one file, selected by the build:
//   platform_console_posix.cpp    Linux and other POSIX systems
//   platform_console_windows.cpp  Windows
//   platform_console_web.cpp      the browser
//
// Threading: main thread, at start-up, except zq_StdinIsTerminal and
// zq_LocalTime (any thread).
#pragma once

#include <ctime>

// Makes the standard streams ready for the runtime's byte-exact output:
// on Windows a windowed program's printed lines reach the console it was
// started from, and no stream translates "\n"; elsewhere nothing to do.
void zq_PrepareConsole();

// Installs sighandler (errors.h) for SIGSEGV, SIGILL and SIGFPE, and keeps
// a console stream whose reader went away from ending the process.
void zq_InstallSignalHandlers();

// True when standard input is an interactive terminal: a player who
// started the game from a shell, not a debugger talking through a pipe.
bool zq_StdinIsTerminal();

// The local time of a moment, thread-safely (localtime_r, localtime_s).
void zq_LocalTime(std::time_t moment, std::tm& local);
