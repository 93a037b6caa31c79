// File stamps for the music cache: PlayMusic keeps the sample of the last
// music file and plays it again without decoding when the file is
// unchanged, so a level start that restarts the same tune costs a stat()
// instead of decoding about 100 seconds of Ogg Vorbis.
//
// A file counts as unchanged while its mapped path, device, inode, size and
// modification time (nanoseconds) are all the same. Replacing the file
// (new inode) or rewriting it (new time or size) makes the next PlayMusic
// decode it again.
//
// Threading: main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/lang/game.h"
#include "runtime/lang/string.h"

struct tvxFileStamp {
    std::string path;  // file-system path after the host's mapping
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = -1;
    std::int64_t mtimeNs = 0;

    bool operator==(const tvxFileStamp&) const = default;
};

// Stamps the file that `path` names (mapped with host->PathToFilePath).
// False when there is no host or the file cannot be examined.
bool tvxStampFile(ZqGame* host, const String& path, tvxFileStamp* stamp);
