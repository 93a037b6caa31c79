// The running program's place on Linux (the list is in platform_process.h):
// the kernel's link /proc/self/exe. Saved files are durable once synced
// (platform_files_posix.cpp), so there is nothing more to persist.
#include <unistd.h>

#include <string>

#include "runtime/lang/filename.h"
#include "runtime/lang/platform_process.h"

String zq_ProgramPath() {
    std::string path(4096, '\0');
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
        if (n < 0) return String();
        if (static_cast<size_t>(n) < path.size()) {
            path.resize(static_cast<size_t>(n));
            return zq_FileNameText(path);
        }
        // Possibly truncated: try again with more room (paths are bounded
        // by the kernel, so this ends).
        if (path.size() >= (1u << 20)) return String();
        path.resize(path.size() * 2);
    }
}

void zq_PersistSavedFiles() {}
