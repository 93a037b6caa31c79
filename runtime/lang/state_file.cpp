// ZqGame's saved state: one string in the file "./.tolvarstate" of the
// working folder, written as UTF-8.
//
// Saving never leaves a half-written state file where it can be avoided:
// the new bytes go to a temporary file beside the state file, which is
// flushed and synced to disk and then put in the state file's place in one
// step. A crash, a kill or a full disk during a save leaves the previous
// file as it was. The platform provides the steps (platform_files.h).
//
// Two cases follow what opening the state file for writing ("wb") would do:
//   - a state file that exists but may not be written (the player made it
//     read-only) is left alone and the save fails (-1);
//   - a folder that refuses new files while its state file is writable (a
//     shared or managed folder) gets the state file rewritten in place.
//     That rewrite is not atomic, but it is the only save such a folder
//     allows. Other failures to create the temporary (a full disk) fail the
//     save without touching the state file, whose truncation would lose it.
//
// Loading reads at most the first zq_max_state_bytes of the file (see
// readstream.h); the rest of a longer file is ignored.
//
// A process killed in the middle of a save leaves its temporary behind;
// every load and save removes those of processes that no longer exist.
//
// Main thread only.
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/lang/filename.h"
#include "runtime/lang/game.h"
#include "runtime/lang/platform_files.h"
#include "runtime/lang/platform_process.h"
#include "runtime/lang/readstream.h"

namespace {

constexpr const char* kStatePath = "./.tolvarstate";

// Writes the bytes, makes them durable and closes the stream: false when
// any step fails.
bool write_durably(std::FILE* stream, const std::string& bytes) {
    bool complete = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    // Bytes still in the stream's buffer or the system's cache are not
    // written yet: a save counts only once they are on disk.
    complete = zq_SyncFile(stream) && complete;
    return std::fclose(stream) == 0 && complete;
}

int rewrite_in_place(const std::string& target, const std::string& bytes) {
    std::FILE* stream = zq_OpenFileName(zq_FileNameText(target), "wb");
    if (!stream) return -1;
    return write_durably(stream, bytes) ? 0 : -2;
}

}  // namespace

String ZqGame::LoadState() {
    zq_RemoveStaleTemporaries(zq_StateFileTarget(kStatePath));
    std::FILE* stream = zq_OpenFileName(String(kStatePath), "rb");
    if (!stream) return String();
    // A state is one short line, not a document: only the file's head is
    // read, so a huge or hostile file costs no more memory than that.
    std::vector<uint8_t> bytes;
    bool read = zq_ReadStreamHead(stream, bytes, zq_max_state_bytes);
    std::fclose(stream);
    if (!read) return String();
    return String::FromFileBytes(bytes.data(), static_cast<int>(bytes.size()));
}

namespace {

// The save itself: 0 saved, -1 refused or not replaced, -2 not written whole.
int save_state_file(const String& state) {
    std::string target = zq_StateFileTarget(kStatePath);
    zq_RemoveStaleTemporaries(target);
    if (zq_IsReadOnlyFile(target)) return -1;

    std::string bytes = state.ToUtf8();
    std::string temporary;
    bool denied = false;
    std::FILE* stream = zq_CreateTemporaryFor(target, temporary, denied);
    if (!stream) return denied ? rewrite_in_place(target, bytes) : -1;
    if (!write_durably(stream, bytes)) {
        zq_RemoveFile(temporary);
        return -2;
    }
    if (!zq_ReplaceFile(temporary, target)) {
        zq_RemoveFile(temporary);
        return -1;
    }
    return 0;
}

}  // namespace

int ZqGame::SaveState(String state) {
    int result = save_state_file(state);
    if (result == 0) zq_PersistSavedFiles();
    return result;
}
