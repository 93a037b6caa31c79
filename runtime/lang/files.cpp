// ZqGame's files: opening mapped paths and loading whole files as text or
// bytes. (The saved-state file is in state_file.cpp.)
//
// Any thread may call these for their own paths.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/lang/filename.h"
#include "runtime/lang/game.h"
#include "runtime/lang/platform_files.h"
#include "runtime/lang/readstream.h"

std::FILE* ZqGame::OpenFile(String path, String mode) {
    String mapped = PathToFilePath(path);
    std::string how;
    // A unit 0 would cut the mode short.
    if (mapped.IsEmpty() || !zq_FileNameBytes(mode, how)) return nullptr;
    return zq_OpenFileName(mapped, how.c_str());
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
