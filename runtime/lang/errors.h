// Console output, fatal runtime errors, fatal signals and the debugger line
// protocol.
//
// Streams: standard output carries every printed line and the error banner
// "Tolvar Runtime Error : <message>"; standard error carries the debugger's
// marker line and object texts; standard input is read only by dbg_stop().
//
// Exit codes: 0 for zqError("") (the normal quit) and for the debugger's
// "q"; -1 (255 to the shell) for an uncaught exception (ZqGame::Die), for a
// runtime error or fatal signal with no debugger answering on standard
// input, and for an unknown debugger command.
//
// Threading: the functions may run on any thread; in this system they run
// on the main thread. Printing never fails visibly: write errors on the
// console streams are ignored (SIGPIPE is ignored once the handlers are
// installed).
#pragma once

#include "runtime/lang/platform_console.h"
#include "runtime/lang/string.h"

// [SECTION] Printing ---------------------------------------------------------

// Writes the text as UTF-8 (one to three bytes per unit) plus a newline to
// standard output, in one write, and flushes.
void zqPrint(const String& text);
// The same as zqPrint.
void zqDebugLog(const String& text);

// [SECTION] Fatal errors -----------------------------------------------------

// The fatal runtime error. An empty message ends the process at once with
// exit code 0 and prints nothing (the application's way to quit). Any other
// message is narrowed to its low bytes and handed to dbg_error().
[[noreturn]] void zqError(const String& message);

// Prints "Tolvar Runtime Error : " + message (each byte widened as a signed
// 8-bit value) and the call-stack text, then stops in the debugger; repeats
// whenever the debugger lets the program run on. Never returns.
[[noreturn]] void dbg_error(const char* message);

// [SECTION] Debugger protocol ------------------------------------------------

// Debug information naming the current source position; nothing in this
// system sets it, so it stays null.
extern const char* dbg_info;
// The call-stack text captured by dbg_throw(); initially empty.
extern String dbg_exstack;
// Set by the debugger's commands; nothing else reads them.
extern int dbg_stepmode;  // 0, 's', 'e' or 'l'
extern int dbg_suspend;   // 0 or 1

// The call-stack text: dbg_info followed by a newline, or the empty string
// when there is no debug information.
String dbg_stacktrace();

// The debugger stop: writes "{{~~<info>~~}}" and the call-stack text to
// standard error, then reads command lines (at most 255 characters each)
// from standard input:
//   ?            ignored
//   @<address>   the debug() text of the live collected object at that
//                address ("%p" format) on standard error; an empty line for
//                null or for anything that is not a live collected object
//   r s e l      set the step mode and return
//   q            exit code 0
//   otherwise    "????? <line> ?????" on standard output, exit code -1
// End of input, or a line without its newline, exits with code -1; so does
// a terminal on standard input (nothing reads commands from a player's
// shell).
void dbg_stop();
// The text narrowed to its low bytes plus a newline, on standard error,
// flushed.
void dbg_print(const String& text);
// dbg_stop() at the program's request.
void zqDebugStop();
// Stores the call-stack text in dbg_exstack and throws the message as a
// C-string exception (const char*).
[[noreturn]] void dbg_throw(const char* message);

// [SECTION] Fatal signals ----------------------------------------------------

// Reports a fatal signal as a runtime error: "Memory access violation"
// (SIGSEGV), "Illegal instruction" (SIGILL), "Floating point exception"
// (SIGFPE), "Unknown signal" (any other). Never returns.
void sighandler(int signal);
// True once a fatal signal is being reported: the process is crashing, and
// exit-time clean-up (the audio device's, for one) must not touch devices
// whose state the fault may have left broken.
bool zqCrashing();
// The handlers are installed by zq_InstallSignalHandlers (platform_console.h),
// once at start-up, on the main thread.
