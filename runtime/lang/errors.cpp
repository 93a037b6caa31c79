// Console output, fatal runtime errors, fatal signals and the debugger line
// protocol (see errors.h for the streams and exit codes).
//
// The error paths call exit() so that buffered output reaches the console;
// from a signal handler that is not async-signal-safe, which is accepted:
// the process is already lost and the report is worth the risk.
#include "runtime/lang/errors.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/lang/game.h"
#include "runtime/lang/gc.h"
#include "runtime/lang/object.h"
#include "runtime/lang/platform_console.h"

const char* dbg_info = nullptr;
String dbg_exstack;
int dbg_stepmode = 0;
int dbg_suspend = 0;

// [SECTION] Printing ---------------------------------------------------------

namespace {

// Writes the bytes and flushes; errors are ignored on purpose.
void write_flushed(std::FILE* stream, const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

}  // namespace

void zqPrint(const String& text) {
    // Reused between calls so that printing in a loop does not allocate;
    // one per thread, so that a worker printing cannot corrupt it.
    thread_local std::string buffer;
    buffer.clear();
    text.AppendUtf8(buffer);
    buffer += '\n';
    write_flushed(stdout, buffer);
}

void zqDebugLog(const String& text) {
    zqPrint(text);
}

void dbg_print(const String& text) {
    thread_local std::string buffer;
    buffer = text.ToNarrow();
    buffer += '\n';
    write_flushed(stderr, buffer);
}

// [SECTION] Fatal errors -----------------------------------------------------

void zqError(const String& message) {
    if (message.IsEmpty()) std::exit(0);
    std::string narrow = message.ToNarrow();
    dbg_error(narrow.c_str());
}

String dbg_stacktrace() {
    return dbg_info ? String(dbg_info) + String("\n") : String();
}

void dbg_error(const char* message) {
    for (;;) {
        zqPrint(String("Tolvar Runtime Error : ") + String(message));
        zqPrint(dbg_stacktrace());
        dbg_stop();
    }
}

void ZqGame::Die(ThrowableObject*) {
    zqPrint(String("Tolvar Runtime Error : Uncaught Tolvar Exception"));
    std::exit(-1);
}

void dbg_throw(const char* message) {
    dbg_exstack = dbg_stacktrace();
    throw message;
}

// [SECTION] Debugger protocol ------------------------------------------------

namespace {

// The live collected object at `address`, or null. The address comes from
// outside the process, so it is only compared with the objects on the
// collector's live lists, never dereferenced. Objects on the free list are
// garbage awaiting their destructor and are not offered.
Object* find_live_object(const void* address) {
    if (!address) return nullptr;
    for (gc_object* list : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list}) {
        for (gc_object* object = list->succ; object != list; object = object->succ) {
            auto* asObject = dynamic_cast<Object*>(object);
            if (asObject && (static_cast<const void*>(asObject) == address ||
                             static_cast<const void*>(object) == address))
                return asObject;
        }
    }
    return nullptr;
}

void show_object(const char* text) {
    void* address = nullptr;
    if (std::sscanf(text, "%p", &address) != 1) address = nullptr;
    Object* object = find_live_object(address);
    dbg_print(object ? object->debug() : String());
}

}  // namespace

void dbg_stop() {
    std::fprintf(stderr, "{{~~%s~~}}\n", dbg_info ? dbg_info : "");
    dbg_print(dbg_stacktrace());
    std::fflush(stderr);

    // A debugger talks through pipes. A terminal on standard input is a
    // player who started the game from a shell, not a debugger: waiting for
    // it would freeze the window, so the error ends the process as it does
    // when nothing is attached.
    if (zq_StdinIsTerminal()) std::exit(-1);

    for (;;) {
        char line[256];
        if (!std::fgets(line, sizeof line, stdin)) std::exit(-1);
        char* newline = std::strchr(line, '\n');
        // A line cut off by the end of input or by the length limit.
        if (!newline) std::exit(-1);
        switch (line[0]) {
            case '?':
                continue;
            case '@':
                show_object(line + 1);
                continue;
            case 'r':
                dbg_stepmode = 0;
                dbg_suspend = 0;
                return;
            case 's':
            case 'e':
                dbg_stepmode = line[0];
                dbg_suspend = 1;
                return;
            case 'l':
                dbg_stepmode = 'l';
                dbg_suspend = 0;
                return;
            case 'q':
                std::exit(0);
            default:
                *newline = '\0';
                std::printf("????? %s ?????\n", line);
                std::fflush(stdout);
                std::exit(-1);
        }
    }
}

void zqDebugStop() {
    dbg_stop();
}

// [SECTION] Fatal signals ----------------------------------------------------

namespace {
volatile std::sig_atomic_t crashing = 0;
}  // namespace

bool zqCrashing() {
    return crashing != 0;
}

void sighandler(int signal) {
    crashing = 1;
    const char* message = "Unknown signal";
    switch (signal) {
        case SIGSEGV:
            message = "Memory access violation";
            break;
        case SIGILL:
            message = "Illegal instruction";
            break;
        case SIGFPE:
            message = "Floating point exception";
            break;
        default:
            break;
    }
    dbg_error(message);
}
