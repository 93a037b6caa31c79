// Console output, fatal errors, fatal signals and the debugger protocol,
// each checked in a real child process with its own standard streams.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/lang/errors.h"
#include "runtime/lang/game.h"
#include "tests/runtime_io/child_process.h"

namespace {

const std::string kBanner = "Tolvar Runtime Error : ";
// The marker and the (empty) call-stack text that every stop writes to
// standard error.
const std::string kStop = "{{~~~~}}\n\n";

std::string repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// A runtime error "boom" answered by the given debugger input.
ChildResult boom_with_debugger(const std::string& input) {
    return RunChild([] { zqError(String("boom")); }, input);
}

// Death-test statements: standard input at its end (no debugger) and
// standard output joined to standard error, where the matcher looks.
void without_debugger() {
    if (!std::freopen("/dev/null", "r", stdin)) std::abort();
    dup2(2, 1);
}

}  // namespace

// [Rule] exit codes and banners of the fatal paths -------------------------

TEST(ExitCodes, EmptyErrorIsTheNormalQuit) {
    EXPECT_EXIT((without_debugger(), zqError(String())), testing::ExitedWithCode(0), "^$");
    ChildResult quit = RunChild([] { zqError(String()); }, "q\n");
    EXPECT_EQ(quit.code, 0);
    EXPECT_EQ(quit.out, "");
    EXPECT_EQ(quit.err, "");
}

TEST(ExitCodes, RuntimeErrorWithoutDebuggerExitsMinusOne) {
    EXPECT_EXIT((without_debugger(), zqError(String("boom"))), testing::ExitedWithCode(255),
                "Tolvar Runtime Error : boom");
    ChildResult boom = boom_with_debugger("");
    EXPECT_EQ(boom.code, 255);
    EXPECT_EQ(boom.out, kBanner + "boom\n\n");
    EXPECT_EQ(boom.err, kStop);
}

TEST(ExitCodes, UncaughtExceptionDiesWithoutTheDebugger) {
    ZqGame host;
    EXPECT_EXIT((without_debugger(), host.Die(nullptr)), testing::ExitedWithCode(255),
                "Tolvar Runtime Error : Uncaught Tolvar Exception");
    // A debugger's "q" on standard input is never read.
    ChildResult died = RunChild([&] { host.Die(nullptr); }, "q\n");
    EXPECT_EQ(died.code, 255);
    EXPECT_EQ(died.out, kBanner + "Uncaught Tolvar Exception\n");
    EXPECT_EQ(died.err, "");
}

TEST(ExitCodes, MessageIsNarrowedToBytesAndWidenedAsSignedBytes) {
    // U+0141 narrows to 0x41 'A'; U+00E9 narrows to 0xE9, which widens back
    // to U+FFE9 (EF BF A9 in UTF-8).
    ChildResult boom = RunChild([] { zqError(String(u"\u0141\u00e9")); });
    EXPECT_EQ(boom.out, kBanner + "A\xEF\xBF\xA9\n\n");
}

// [Rule] the debugger line protocol ----------------------------------------

TEST(Debugger, RunOnRepeatsTheErrorUntilQuit) {
    ChildResult boom = boom_with_debugger("r\nq\n");
    EXPECT_EQ(boom.code, 0);
    EXPECT_EQ(boom.out, repeat(kBanner + "boom\n\n", 2));
    EXPECT_EQ(boom.err, repeat(kStop, 2));
}

TEST(Debugger, StepCommandsReturnAndQuestionMarkIsIgnored) {
    ChildResult boom = boom_with_debugger("s\ne\n?\nl\nq\n");
    EXPECT_EQ(boom.code, 0);
    EXPECT_EQ(boom.out, repeat(kBanner + "boom\n\n", 4));
}

TEST(Debugger, EndOfInputOrCutLineExitsMinusOne) {
    EXPECT_EQ(boom_with_debugger("r\n").code, 255);
    // A last line without its newline.
    EXPECT_EQ(boom_with_debugger("q").code, 255);
    // A line beyond 255 characters arrives cut.
    EXPECT_EQ(boom_with_debugger("q" + std::string(300, 'x') + "\n").code, 255);
}

// Reads from `fd` until `text` has arrived or five seconds pass.
bool arrives(int fd, const std::string& text) {
    std::string got;
    for (int waited = 0; got.find(text) == std::string::npos; ++waited) {
        pollfd ready{fd, POLLIN, 0};
        if (waited > 50 || poll(&ready, 1, 100) < 0) return false;
        char chunk[256];
        ssize_t n = ready.revents ? read(fd, chunk, sizeof chunk) : 0;
        if (n < 0 || (ready.revents && n == 0)) return false;
        got.append(chunk, static_cast<size_t>(n));
    }
    return true;
}

// A debugger reads the report before it answers: the banner and the stop
// marker must be on the streams while the program waits for a command.
TEST(Debugger, ReportIsOnTheStreamsWhileTheProgramWaits) {
    int in[2], out[2], err[2];
    ASSERT_EQ(pipe(in) | pipe(out) | pipe(err), 0);
    std::fflush(nullptr);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        zqError(String("boom"));
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    EXPECT_TRUE(arrives(out[0], kBanner + "boom\n"));
    EXPECT_TRUE(arrives(err[0], "{{~~~~}}\n"));
    ASSERT_EQ(write(in[1], "q\n", 2), 2);
    close(in[1]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    close(out[0]);
    close(err[0]);
}

TEST(Debugger, UnknownCommandIsEchoedAndExitsMinusOne) {
    ChildResult boom = boom_with_debugger("x y\n");
    EXPECT_EQ(boom.code, 255);
    EXPECT_EQ(boom.out, kBanner + "boom\n\n????? x y ?????\n");
}

TEST(Debugger, AtSignShowsOnlyLiveCollectedObjects) {
    Object* live = gc_new<Object>();
    Array<int> notAnObject(4);  // collected, but not an Object
    char command[64];
    std::snprintf(command, sizeof command, "@%p\n", static_cast<void*>(live));
    ChildResult shown = boom_with_debugger(std::string(command) + "q\n");
    EXPECT_EQ(shown.code, 0);
    EXPECT_EQ(shown.err, kStop + "+Object\n\n");

    // Bogus addresses are never followed: each gives an empty line.
    std::snprintf(command, sizeof command, "@%p\n", static_cast<void*>(notAnObject.rep));
    std::string bogus = std::string(command) + "@0x10\n@0xdeadbeef000\n@(nil)\n@junk\n@\n";
    ChildResult empty = boom_with_debugger(bogus + "q\n");
    EXPECT_EQ(empty.code, 0);
    EXPECT_EQ(empty.err, kStop + std::string(6, '\n'));
}

TEST(Debugger, TerminalOnStandardInputIsNoDebugger) {
    int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    if (terminal < 0 || grantpt(terminal) != 0 || unlockpt(terminal) != 0) GTEST_SKIP() << "no terminals";
    std::string name = ptsname(terminal);
    // A quit typed ahead on the terminal is not taken as a command.
    ASSERT_EQ(write(terminal, "q\n", 2), 2);
    ChildResult boom = RunChild([&] {
        int player = open(name.c_str(), O_RDWR | O_NOCTTY);
        if (player < 0) std::_Exit(93);
        dup2(player, 0);
        zqError(String("boom"));
    });
    close(terminal);
    EXPECT_EQ(boom.code, 255);
    EXPECT_EQ(boom.out, kBanner + "boom\n\n");
    EXPECT_EQ(boom.err, kStop);
}

TEST(Debugger, DebugStopOnRequestReturnsOnRun) {
    ChildResult stop = RunChild(
        [] {
            zqDebugStop();
            zqPrint(String("after"));
            std::exit(3);
        },
        "r\n");
    EXPECT_EQ(stop.code, 3);
    EXPECT_EQ(stop.out, "after\n");
    EXPECT_EQ(stop.err, kStop);
}

TEST(Debugger, ThrowRecordsTheStackAndThrowsTheMessage) {
    dbg_exstack = String("stale");
    try {
        dbg_throw("thrown");
        FAIL() << "dbg_throw returned";
    } catch (const char* message) {
        EXPECT_STREQ(message, "thrown");
    }
    EXPECT_TRUE(dbg_exstack.IsEmpty());
}

// [Rule] fatal signals become runtime errors --------------------------------

namespace {

ChildResult fatal_signal(void (*fault)()) {
    return RunChild([fault] {
        zq_InstallSignalHandlers();
        fault();
    });
}

// Both operands volatile: 1 / x on its own compiles to a comparison.
volatile int one = 1;
volatile int zero = 0;
volatile int quotient = 0;
// The first page is never mapped; not null, so the undefined-behaviour
// sanitizer lets the store reach the hardware and fault for real.
volatile int* volatile nowhere = reinterpret_cast<int*>(64);

volatile bool endless = true;  // volatile: the recursion is not provably infinite

// The undefined-behaviour sanitizer would report the division itself; the
// test is about the signal the processor raises.
__attribute__((no_sanitize("undefined"))) void divide_by_zero() {
    quotient = one / zero;
}

int deep(int n) {
    if (!endless) return 0;
    volatile char frame[256];
    frame[0] = static_cast<char>(n);
    return deep(n + 1) + frame[0];
}

}  // namespace

TEST(FatalSignals, IntegerDivisionByZeroIsAFloatingPointException) {
    ChildResult fpe = fatal_signal(divide_by_zero);
    EXPECT_EQ(fpe.code, 255);
    EXPECT_EQ(fpe.out, kBanner + "Floating point exception\n\n");
    EXPECT_EQ(fpe.err, kStop);
}

TEST(FatalSignals, EachSignalHasItsMessage) {
    EXPECT_EQ(fatal_signal([] { *nowhere = 1; }).out, kBanner + "Memory access violation\n\n");
    EXPECT_EQ(fatal_signal([] { std::raise(SIGILL); }).out, kBanner + "Illegal instruction\n\n");
    EXPECT_EQ(fatal_signal([] { sighandler(SIGUSR1); }).out, kBanner + "Unknown signal\n\n");
}

TEST(FatalSignals, StackOverflowIsReportedOnTheAlternateStack) {
    ChildResult overflow = fatal_signal([] { quotient = deep(0); });
    EXPECT_EQ(overflow.code, 255);
    EXPECT_EQ(overflow.out, kBanner + "Memory access violation\n\n");
}

// [Rule] printing is UTF-8, one line per call, and never fails visibly -----

TEST(Printing, UnitsAreWrittenAsUtf8Lines) {
    ChildResult printed = RunChild([] {
        zqPrint(String(u"\u00e9"));
        zqDebugLog(String(u"a\u20ac"));
        zqPrint(String());
        dbg_print(String(u"\u0141x"));  // standard error, narrowed
        std::exit(0);
    });
    EXPECT_EQ(printed.out, "\xC3\xA9\na\xE2\x82\xAC\n\n");
    EXPECT_EQ(printed.err, "Ax\n");
}

TEST(Printing, AClosedConsoleDoesNotEndTheProcess) {
    ChildResult printed = RunChild([] {
        zq_InstallSignalHandlers();
        int ends[2];
        if (pipe(ends) != 0) std::exit(1);
        close(ends[0]);  // nobody will read
        dup2(ends[1], 1);
        zqPrint(String("into the void"));
        std::exit(0);
    });
    EXPECT_TRUE(printed.exited);
    EXPECT_EQ(printed.code, 0);
}
