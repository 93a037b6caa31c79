// Data paths: the application folder and the tolvar:// mapping (see
// datapath.h).
#include "runtime/lang/datapath.h"

#include <cstring>
#include <string>

#include "runtime/lang/platform_process.h"

namespace {

// True when the text begins with the 7-bit prefix.
bool starts_with(const String& text, const char* prefix) {
    int n = 0;
    for (; prefix[n]; ++n)
        if (n >= text.Length() || text[n] != static_cast<Char>(prefix[n])) return false;
    return true;
}

struct Location {
    const char* prefix;  // "tolvar://<name>/"
    const char* folder;  // what replaces it, after the application folder
};
// The "tolvar://" locations. The internal folder is the application folder
// followed by "/internal".
constexpr Location kLocations[] = {
    {"tolvar://data/", "/data/"},
    {"tolvar://internal/", "/internal/"},
    {"tolvar://external/", "/external/"},
};

}  // namespace

String zq_FolderOfProgramPath(const String& programPath) {
    int slash = programPath.FindLast(String("/"));
    return slash < 0 ? String(".") : programPath.Slice(0, slash);
}

String zq_ApplicationFolder() {
    // The units are cached rather than a String so that callers on any
    // thread get a representation of their own.
    static const std::u16string folder = [] {
        String program = zq_ProgramPath();
        String folder = program.IsEmpty() ? String(".") : zq_FolderOfProgramPath(program);
        return std::u16string(folder.Data(), static_cast<size_t>(folder.Length()));
    }();
    return String(folder);
}

String zq_TolvarPathToFilePath(const String& path, const String& applicationFolder) {
    if (!starts_with(path, "tolvar:")) return path;
    for (const Location& location : kLocations) {
        if (starts_with(path, location.prefix))
            return applicationFolder + String(location.folder) +
                   path.Slice(static_cast<int>(std::strlen(location.prefix)));
    }
    return String();
}

String zq_TolvarPathToFilePath(const String& path) {
    if (!starts_with(path, "tolvar:")) return path;
    return zq_TolvarPathToFilePath(path, zq_ApplicationFolder());
}

String zq_data_FixDataPath(const String& path) {
    int scheme = path.Find(String(":/"));
    if (scheme >= 0 && path.Find(String("/")) == scheme + 1) return path;
    if (starts_with(path, "./") || starts_with(path, "/")) return path;
    return String("tolvar://data/") + path;
}
