// Command-line parsing: one table of options, one loop over the arguments.
#include "runtime/host/options.h"

#include <cstring>

#ifndef TOLVAR_PROGRAM_VERSION
#define TOLVAR_PROGRAM_VERSION "0"
#endif

namespace {

ZqOptions processOptions;

struct OptionSpec {
    const char* name;
    const char* argument;  // null: the option takes none
    const char* help;
};

constexpr OptionSpec kOptions[] = {
    {"--help", nullptr, "show this help and exit"},
    {"--version", nullptr, "show the version and exit"},
    {"--fullscreen", nullptr, "start in full screen"},
    {"--windowed", nullptr, "start in a window"},
    {"--stats", nullptr, "print frame times per screen at exit"},
    {"--record", "FILE", "record the session to FILE"},
    {"--replay", "FILE", "watch the recording FILE"},
};

const char* BaseName(const char* path) {
    const char* slash = std::strrchr(path, '/');
    const char* backslash = std::strrchr(path, '\\');
    if (backslash > slash) slash = backslash;
    return slash ? slash + 1 : path;
}

void PrintUsageLine(std::FILE* stream, const char* program) {
    std::fprintf(stream,
                 "usage: %s [--help] [--version] [--fullscreen | --windowed] [--stats] "
                 "[--record FILE | --replay FILE]\n",
                 program);
}

void PrintHelp(std::FILE* stream, const char* program) {
    PrintUsageLine(stream, program);
    std::fputs("\noptions:\n", stream);
    for (const OptionSpec& spec : kOptions) {
        char left[32];
        std::snprintf(left, sizeof left, "%s%s%s", spec.name, spec.argument ? " " : "",
                      spec.argument ? spec.argument : "");
        std::fprintf(stream, "  %-18s %s\n", left, spec.help);
    }
}

const OptionSpec* FindOption(const char* name) {
    for (const OptionSpec& spec : kOptions) {
        if (std::strcmp(spec.name, name) == 0) return &spec;
    }
    return nullptr;
}

// Applies one recognised option; false when it conflicts with an earlier one.
bool Apply(const OptionSpec& spec, const char* value, ZqOptions& options) {
    std::string name = spec.name;
    if (name == "--fullscreen" || name == "--windowed") {
        auto mode =
            name == "--fullscreen" ? ZqOptions::StartMode::Fullscreen : ZqOptions::StartMode::Windowed;
        if (options.startMode != ZqOptions::StartMode::Saved && options.startMode != mode) return false;
        options.startMode = mode;
    } else if (name == "--stats") {
        options.stats = true;
    } else if (name == "--record") {
        if (!options.replayPath.empty()) return false;
        options.recordPath = value;
    } else if (name == "--replay") {
        if (!options.recordPath.empty()) return false;
        options.replayPath = value;
    }
    return true;
}

ZqOptionsOutcome UsageError(std::FILE* err, const char* program, const char* what, const char* arg) {
    std::fprintf(err, "%s: %s '%s'; ", program, what, arg);
    PrintUsageLine(err, program);
    return ZqOptionsOutcome::ExitUsage;
}

}  // namespace

ZqOptionsOutcome zqParseOptions(int argc, char** argv, ZqOptions& options, std::FILE* out, std::FILE* err,
                                const char* program) {
    if (!program) program = argc > 0 && argv[0] ? BaseName(argv[0]) : "tolvar";
    for (int i = 1; i < argc; ++i) {
        const OptionSpec* spec = FindOption(argv[i]);
        if (!spec) return UsageError(err, program, "unknown option", argv[i]);
        if (std::strcmp(spec->name, "--help") == 0) {
            PrintHelp(out, program);
            return ZqOptionsOutcome::ExitOk;
        }
        if (std::strcmp(spec->name, "--version") == 0) {
            std::fprintf(out, "%s %s\n", program, TOLVAR_PROGRAM_VERSION);
            return ZqOptionsOutcome::ExitOk;
        }
        const char* value = nullptr;
        if (spec->argument) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0')
                return UsageError(err, program, "missing FILE after", argv[i]);
            value = argv[++i];
        }
        if (!Apply(*spec, value, options))
            return UsageError(err, program, "conflicting option", argv[i - (value ? 1 : 0)]);
    }
    return ZqOptionsOutcome::Run;
}

const ZqOptions& zqOptions() {
    return processOptions;
}

void zqSetOptions(const ZqOptions& options) {
    processOptions = options;
}
