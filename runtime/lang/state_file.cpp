// ZqGame's saved state: one string in the file "./.tolvarstate" of the
// working folder, written as UTF-8.
//
// Saving never leaves a half-written state file: the new bytes go to a
// temporary file beside it, which is flushed and synced to disk and then
// renamed over the state file in one step. A crash, a kill or a full disk
// during a save leaves the previous file as it was.
//
// The state file belongs to the player, who may have made it a symbolic
// link (to keep saves elsewhere) or private (mode 0600): a save follows the
// link, writes its temporary beside the link's target and renames it over
// the target, so the link stays; the temporary gets the old file's mode.
//
// Loading reads at most the first zq_max_state_bytes of the file (see
// readstream.h); the rest of a longer file is ignored.
//
// Temporaries are named "<state file>.<process id>.tmp". A process killed
// in the middle of a save leaves its temporary behind; every load and save
// removes those of processes that no longer exist.
//
// Main thread only.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/lang/game.h"
#include "runtime/lang/readstream.h"

namespace {

constexpr const char* kStatePath = "./.tolvarstate";
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

// The file a save replaces: the state path with its symbolic links
// followed, the last one even when its target does not exist yet. A loop
// of links gives the state path itself (the save then replaces the link).
std::string state_target() {
    std::string path = kStatePath;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::string target(4096, '\0');
        ssize_t n = readlink(path.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<size_t>(n) >= target.size()) return kStatePath;
        target.resize(static_cast<size_t>(n));
        path = target[0] == '/' ? target : folder_of(path) + "/" + target;
    }
    return kStatePath;
}

std::string temporary_for(const std::string& target, long pid) {
    return target + "." + std::to_string(pid) + ".tmp";
}

// Removes "<name of target>.<pid>.tmp" in the target's folder for every pid
// that names no running process. Temporaries of live processes (another
// copy of the game saving right now) are left alone.
void remove_stale_temporaries(const std::string& target) {
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

// Syncs a folder so that a completed rename in it survives a power loss.
// Best effort: the data itself is already on disk.
void sync_folder(const std::string& path) {
    int folder = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    fsync(folder);
    close(folder);
}

}  // namespace

String ZqGame::LoadState() {
    remove_stale_temporaries(state_target());
    std::FILE* stream = std::fopen(kStatePath, "rb");
    if (!stream) return String();
    // A state is one short line, not a document: only the file's head is
    // read, so a huge or hostile file costs no more memory than that.
    std::vector<uint8_t> bytes;
    bool read = zq_ReadStreamHead(stream, bytes, zq_max_state_bytes);
    std::fclose(stream);
    if (!read) return String();
    return String::FromFileBytes(bytes.data(), static_cast<int>(bytes.size()));
}

int ZqGame::SaveState(String state) {
    std::string target = state_target();
    remove_stale_temporaries(target);
    // One temporary name per process, so two programs saving in the same
    // folder never write into each other's file.
    std::string temporary = temporary_for(target, getpid());
    struct stat old;
    bool hadFile = stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    mode_t mode = hadFile ? (old.st_mode & 07777) : 0666;
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) return -1;
    // The umask narrowed the mode at creation; the old file's mode is kept
    // exactly. (A new file gets the umask's mode, as any created file.)
    if (hadFile) fchmod(fd, mode);
    std::FILE* stream = fdopen(fd, "wb");
    if (!stream) {
        close(fd);
        unlink(temporary.c_str());
        return -1;
    }

    std::string bytes = state.ToUtf8();
    bool complete = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    // Bytes still in the stream's buffer or the page cache are not written
    // yet: a save counts only once they are on disk.
    complete = std::fflush(stream) == 0 && complete;
    complete = fsync(fileno(stream)) == 0 && complete;
    complete = std::fclose(stream) == 0 && complete;
    if (!complete) {
        unlink(temporary.c_str());
        return -2;
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        return -1;
    }
    sync_folder(folder_of(target));
    return 0;
}
