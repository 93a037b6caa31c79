// ZqGame's files: opening mapped paths, loading whole files as text or
// bytes, and the saved-state file "./.tolvarstate" in the working folder.
//
// Saving never leaves a half-written state file: the new bytes go to a
// temporary file beside it, which is flushed and synced to disk and then
// renamed over ".tolvarstate" in one step. A crash, a kill or a full disk
// during a save leaves the previous file as it was. A process killed in the
// middle of a save may leave its temporary file behind; the next save from
// a process with the same id reuses it.
//
// Main thread, except LoadData and OpenFile, which worker threads may call
// for their own paths.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/lang/filename.h"
#include "runtime/lang/game.h"
#include "runtime/lang/readstream.h"

namespace {

constexpr const char* kStatePath = "./.tolvarstate";

// Syncs the working folder so that a completed rename survives a power
// loss. Best effort: the data itself is already on disk.
void sync_working_folder() {
    int folder = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    fsync(folder);
    close(folder);
}

}  // namespace

std::FILE* ZqGame::OpenFile(String path, String mode) {
    String mapped = PathToFilePath(path);
    std::string file, how;
    // A unit 0 would cut the name short and open some other file.
    if (mapped.IsEmpty() || !zq_FileNameBytes(mapped, file) || !zq_FileNameBytes(mode, how)) return nullptr;
    return std::fopen(file.c_str(), how.c_str());
}

String ZqGame::LoadString(String path) {
    std::FILE* stream = OpenFile(path, String("rb"));
    if (!stream) return String();
    String text = String::Load(stream);
    std::fclose(stream);
    return text;
}

unsigned char* ZqGame::LoadData(String path, int* length) {
    std::FILE* stream = OpenFile(path, String("rb"));
    if (!stream) return nullptr;
    std::vector<uint8_t> bytes;
    bool whole = zq_ReadWholeStream(stream, bytes);
    std::fclose(stream);
    if (!whole) return nullptr;
    // Exactly the file's size; an empty file still gives a block (of one
    // byte, length 0), so that success and failure stay distinct.
    auto* block = static_cast<unsigned char*>(std::malloc(bytes.empty() ? 1 : bytes.size()));
    if (!block) return nullptr;
    if (!bytes.empty()) std::memcpy(block, bytes.data(), bytes.size());
    int total = static_cast<int>(bytes.size());
    *length = total;
    gc_ext_malloced(total);
    return block;
}

String ZqGame::LoadState() {
    std::FILE* stream = std::fopen(kStatePath, "rb");
    if (!stream) return String();
    String text = String::Load(stream);
    std::fclose(stream);
    return text;
}

int ZqGame::SaveState(String state) {
    // One temporary name per process, so two programs saving in the same
    // folder never write into each other's file.
    std::string temporary = std::string(kStatePath) + "." + std::to_string(getpid()) + ".tmp";
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
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
    if (std::rename(temporary.c_str(), kStatePath) != 0) {
        unlink(temporary.c_str());
        return -1;
    }
    sync_working_folder();
    return 0;
}
