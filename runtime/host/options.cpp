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

struct OptionEntry {
    const char* name;
    const char* argument;  // null: the option takes none
    int group;             // options sharing a non-zero group exclude each other
    const char* help;
};

// Neighbouring entries of one group form one "[a | b]" of the usage line.
constexpr OptionEntry kOptions[] = {
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

std::string Synopsis(const OptionEntry& entry) {
    return entry.argument ? std::string(entry.name) + " " + entry.argument : std::string(entry.name);
}

void PrintUsageLine(std::FILE* stream, const char* program) {
    std::string line = std::string("usage: ") + program;
    for (size_t i = 0; i < std::size(kOptions); ++i) {
        const OptionEntry& entry = kOptions[i];
        bool joinsPrevious = i > 0 && entry.group != 0 && kOptions[i - 1].group == entry.group;
        bool joinsNext =
            i + 1 < std::size(kOptions) && entry.group != 0 && kOptions[i + 1].group == entry.group;
        line += joinsPrevious ? " | " : " [";
        line += Synopsis(entry);
        if (!joinsNext) line += "]";
    }
    std::fprintf(stream, "%s\n", line.c_str());
}

void PrintHelp(std::FILE* stream, const char* program) {
    PrintUsageLine(stream, program);
    std::fputs("\noptions:\n", stream);
    for (const OptionEntry& entry : kOptions)
        std::fprintf(stream, "  %-18s %s\n", Synopsis(entry).c_str(), entry.help);
}

const OptionEntry* FindOption(const char* name) {
    for (const OptionEntry& entry : kOptions) {
        if (std::strcmp(entry.name, name) == 0) return &entry;
    }
    return nullptr;
}

// Stores one recognised option (conflicts are decided by the caller).
void Apply(const OptionEntry& entry, const char* value, ZqOptions& options) {
    std::string name = entry.name;
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
    const OptionEntry* groupTaken[kGroups] = {};
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const OptionEntry* entry = FindOption(arg);
        if (!entry)
            return UsageError(err, program, arg[0] == '-' ? "unknown option" : "unexpected argument", arg);
        if (std::strcmp(entry->name, "--help") == 0) {
            PrintHelp(out, program);
            return ZqOptionsOutcome::ExitOk;
        }
        if (std::strcmp(entry->name, "--version") == 0) {
            std::fprintf(out, "%s %s\n", program, TOLVAR_PROGRAM_VERSION);
            return ZqOptionsOutcome::ExitOk;
        }
        const char* value = nullptr;
        if (entry->argument) {
            // A FILE that looks like an option is far more often a forgotten
            // FILE than a real name ("./--x" still names such a file).
            if (i + 1 >= argc || argv[i + 1][0] == '\0' || std::strncmp(argv[i + 1], "--", 2) == 0)
                return UsageError(err, program, std::string("missing ") + entry->argument + " after", arg);
            value = argv[++i];
        }
        if (entry->group != 0) {
            const OptionEntry*& taken = groupTaken[entry->group];
            if (taken && taken != entry) return UsageError(err, program, "conflicting option", arg);
            taken = entry;
        }
        Apply(*entry, value, options);
    }
    return ZqOptionsOutcome::Run;
}

const ZqOptions& zqOptions() {
    return processOptions;
}

void zqSetOptions(const ZqOptions& options) {
    processOptions = options;
}
