// Command-line parsing: one table of options, one loop over the arguments.
// The table is the only list of options: the usage line, the help and the
// conflict rule are all read from it.
#include "runtime/host/options.h"

#include <cstring>
#include <string>

#ifndef TOLVAR_PROGRAM_VERSION
#define TOLVAR_PROGRAM_VERSION "0"
#endif

namespace {

ZqOptions processOptions;

struct OptionSpec {
    const char* name;
    const char* argument;  // null: the option takes none
    int group;             // options sharing a non-zero group exclude each other
    const char* help;
};

// Neighbouring entries of one group form one "[a | b]" of the usage line.
constexpr OptionSpec kOptions[] = {
    {"--help", nullptr, 0, "show this help and exit"},
    {"--version", nullptr, 0, "show the version and exit"},
    {"--fullscreen", nullptr, 1, "start in full screen (this run only)"},
    {"--windowed", nullptr, 1, "start in a window (the usual start)"},
    {"--stats", nullptr, 0, "print frame times per screen at exit"},
    {"--record", "FILE", 2, "record the session to FILE"},
    {"--replay", "FILE", 2, "watch the recording FILE"},
};
constexpr int kGroups = 3;

const char* BaseName(const char* path) {
    const char* slash = std::strrchr(path, '/');
    const char* backslash = std::strrchr(path, '\\');
    if (backslash > slash) slash = backslash;
    return slash ? slash + 1 : path;
}

std::string Synopsis(const OptionSpec& spec) {
    return spec.argument ? std::string(spec.name) + " " + spec.argument : std::string(spec.name);
}

void PrintUsageLine(std::FILE* stream, const char* program) {
    std::string line = std::string("usage: ") + program;
    for (size_t i = 0; i < std::size(kOptions); ++i) {
        const OptionSpec& spec = kOptions[i];
        bool joinsPrevious = i > 0 && spec.group != 0 && kOptions[i - 1].group == spec.group;
        bool joinsNext =
            i + 1 < std::size(kOptions) && spec.group != 0 && kOptions[i + 1].group == spec.group;
        line += joinsPrevious ? " | " : " [";
        line += Synopsis(spec);
        if (!joinsNext) line += "]";
    }
    std::fprintf(stream, "%s\n", line.c_str());
}

void PrintHelp(std::FILE* stream, const char* program) {
    PrintUsageLine(stream, program);
    std::fputs("\noptions:\n", stream);
    for (const OptionSpec& spec : kOptions)
        std::fprintf(stream, "  %-18s %s\n", Synopsis(spec).c_str(), spec.help);
}

const OptionSpec* FindOption(const char* name) {
    for (const OptionSpec& spec : kOptions) {
        if (std::strcmp(spec.name, name) == 0) return &spec;
    }
    return nullptr;
}

// Stores one recognised option (conflicts are decided by the caller).
void Apply(const OptionSpec& spec, const char* value, ZqOptions& options) {
    std::string name = spec.name;
    if (name == "--fullscreen") {
        options.startMode = ZqOptions::StartMode::Fullscreen;
    } else if (name == "--windowed") {
        options.startMode = ZqOptions::StartMode::Windowed;
    } else if (name == "--stats") {
        options.stats = true;
    } else if (name == "--record") {
        options.recordPath = value;
    } else if (name == "--replay") {
        options.replayPath = value;
    }
}

ZqOptionsOutcome UsageError(std::FILE* err, const char* program, const std::string& what, const char* arg) {
    std::fprintf(err, "%s: %s '%s'; ", program, what.c_str(), arg);
    PrintUsageLine(err, program);
    return ZqOptionsOutcome::ExitUsage;
}

}  // namespace

ZqOptionsOutcome zqParseOptions(int argc, char** argv, ZqOptions& options, std::FILE* out, std::FILE* err,
                                const char* program) {
    if (!program) program = argc > 0 && argv[0] ? BaseName(argv[0]) : "tolvar";
    const OptionSpec* groupTaken[kGroups] = {};
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const OptionSpec* spec = FindOption(arg);
        if (!spec)
            return UsageError(err, program, arg[0] == '-' ? "unknown option" : "unexpected argument", arg);
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
            // A FILE that looks like an option is far more often a forgotten
            // FILE than a real name ("./--x" still names such a file).
            if (i + 1 >= argc || argv[i + 1][0] == '\0' || std::strncmp(argv[i + 1], "--", 2) == 0)
                return UsageError(err, program, std::string("missing ") + spec->argument + " after", arg);
            value = argv[++i];
        }
        if (spec->group != 0) {
            const OptionSpec*& taken = groupTaken[spec->group];
            if (taken && taken != spec) return UsageError(err, program, "conflicting option", arg);
            taken = spec;
        }
        Apply(*spec, value, options);
    }
    return ZqOptionsOutcome::Run;
}

const ZqOptions& zqOptions() {
    return processOptions;
}

void zqSetOptions(const ZqOptions& options) {
    processOptions = options;
}
