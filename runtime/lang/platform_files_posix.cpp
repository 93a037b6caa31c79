// Files and the saved state on POSIX systems, the browser's included (the list is in
// platform_files.h).
//
//   file names      the bytes of the lossless codec, opened with fopen
//   file facts      stat
//   state target    "./.tolvarstate" with its symbolic links followed, so a
//                   player's link to saves kept elsewhere stays a link
//   temporaries     "<target>.<process id>.tmp", created with the target's
//                   mode; those of ended processes are removed
//   durability      fsync of the file, rename, fsync of the folder
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "runtime/lang/filename.h"
#include "runtime/lang/platform_files.h"

namespace {

constexpr int kMaxLinkHops = 40;  // as the kernel allows when opening

std::string folder_of(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string name_of(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Syncs a folder so that a completed rename in it survives a power loss.
// Best effort: the data itself is already on disk.
void sync_folder(const std::string& path) {
    int folder = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    fsync(folder);
    close(folder);
}

}  // namespace

// [SECTION] Files ------------------------------------------------------------

std::FILE* zq_OpenFileName(const String& name, const char* mode) {
    std::string bytes;
    if (!zq_FileNameBytes(name, bytes)) return nullptr;
    return std::fopen(bytes.c_str(), mode);
}

bool zq_FileFactsOf(const String& name, zq_FileFacts& facts) {
    std::string bytes;
    struct stat info;
    if (!zq_FileNameBytes(name, bytes) || ::stat(bytes.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    facts.device = info.st_dev;
    facts.inode = info.st_ino;
    facts.size = info.st_size;
    facts.mtimeNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return true;
}

// [SECTION] Saved-state file -----------------------------------------------

// The last link is followed even when its target does not exist yet. A
// loop of links gives the state path itself (the save then replaces the
// link).
std::string zq_StateFileTarget(const char* statePath) {
    std::string path = statePath;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::string target(4096, '\0');
        ssize_t n = readlink(path.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<size_t>(n) >= target.size()) return statePath;
        target.resize(static_cast<size_t>(n));
        path = target[0] == '/' ? target : folder_of(path) + "/" + target;
    }
    return statePath;
}

void zq_RemoveStaleTemporaries(const std::string& target) {
    std::string folder = folder_of(target);
    std::string prefix = name_of(target) + ".";
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
        long pid = std::strtol(digits.c_str(), nullptr, 10);
        if (pid <= 0 || pid == getpid()) continue;
        if (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) unlinkat(dirfd(dir), name.c_str(), 0);
    }
    closedir(dir);
}

bool zq_IsReadOnlyFile(const std::string& target) {
    struct stat info;
    if (stat(target.c_str(), &info) != 0) return false;
    // Asked with the effective ids, as an open for writing would be.
    return faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0;
}

std::FILE* zq_CreateTemporaryFor(const std::string& target, std::string& temporary, bool& denied) {
    // One temporary name per process, so two programs saving in the same
    // folder never write into each other's file.
    temporary = target + "." + std::to_string(getpid()) + ".tmp";
    denied = false;
    struct stat old;
    bool hadFile = stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    mode_t mode = hadFile ? (old.st_mode & 07777) : 0666;
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) {
        denied = errno == EACCES || errno == EPERM;
        return nullptr;
    }
    // The umask narrowed the mode at creation; the old file's mode is kept
    // exactly. (A new file gets the umask's mode, as any created file.)
    if (hadFile) fchmod(fd, mode);
    std::FILE* stream = fdopen(fd, "wb");
    if (!stream) {
        close(fd);
        unlink(temporary.c_str());
    }
    return stream;
}

bool zq_SyncFile(std::FILE* stream) {
    return std::fflush(stream) == 0 && fsync(fileno(stream)) == 0;
}

bool zq_ReplaceFile(const std::string& temporary, const std::string& target) {
    if (std::rename(temporary.c_str(), target.c_str()) != 0) return false;
    sync_folder(folder_of(target));
    return true;
}

void zq_RemoveFile(const std::string& name) {
    unlink(name.c_str());
}
