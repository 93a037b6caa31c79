// File stamps for the music cache (see music_cache.h).
#include "audio/music_cache.h"

#include <sys/stat.h>

#include "runtime/lang/filename.h"

bool tvxStampFile(ZqGame* host, const String& path, tvxFileStamp* stamp) {
    if (!host) return false;
    String mapped = host->PathToFilePath(path);
    if (mapped.IsEmpty()) return false;
    std::string file;
    if (!zq_FileNameBytes(mapped, file)) return false;
    struct stat info;
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    stamp->path = std::move(file);
    stamp->device = info.st_dev;
    stamp->inode = info.st_ino;
    stamp->size = info.st_size;
    stamp->mtimeNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return true;
}
