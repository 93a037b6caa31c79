// The command-line options of a Tolvar program, parsed in one place
// (ZqTolvarGame::Main) before GLFW starts, so that a bad command line never
// opens a window.
//
//   --help              usage on standard output, exit 0
//   --version           the program's name and version, exit 0
//   --fullscreen        start this run in full screen
//   --windowed          start this run in a window (the usual start)
//   --stats             per-screen frame times printed at exit
//   --record FILE       record the session to FILE
//   --replay FILE       watch the recording FILE
//
// An unknown option, a missing argument (FILE absent, empty or itself an
// option such as "--stats") or two options that exclude each other print
// one line of usage on standard error and exit with code 2. Repeating an
// option is allowed; for --record and --replay the last FILE counts.
//
// The start mode is for one run only: the window mode is not part of the
// saved settings, so nothing of it is written; F11 and the options box
// switch it during play as usual.
//
// Main thread only; zqOptions() holds the defaults until Main has parsed.
#pragma once

#include <cstdio>
#include <string>

struct ZqOptions {
    enum class StartMode { Default, Fullscreen, Windowed };

    StartMode startMode = StartMode::Default;  // Default: the program's usual start, a window
    bool stats = false;                        // print frame-time statistics at exit
    std::string recordPath;                    // empty: no recording asked for
    std::string replayPath;                    // empty: live play
};

enum class ZqOptionsOutcome {
    Run,       // start the program with the parsed options
    ExitOk,    // --help or --version answered; exit 0
    ExitUsage  // bad command line reported; exit 2
};

// Parses argv[1..argc-1] into `options`. --help and --version write to
// `out`, a usage error writes one line to `err`. `program` names the
// program in those texts (the base name of argv[0] when null).
ZqOptionsOutcome zqParseOptions(int argc, char** argv, ZqOptions& options, std::FILE* out, std::FILE* err,
                                const char* program = nullptr);

// The options of this process.
const ZqOptions& zqOptions();
// Replaces the options of this process (Main, and tests).
void zqSetOptions(const ZqOptions& options);
