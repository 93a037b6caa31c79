// File stamps for the music cache (see music_cache.h).
#include "audio/music_cache.h"

#include "runtime/lang/filename.h"
#include "runtime/lang/platform_files.h"

bool tvxStampFile(ZqGame* host, const String& path, tvxFileStamp* stamp) {
    if (!host) return false;
    String mapped = host->PathToFilePath(path);
    if (mapped.IsEmpty()) return false;
    std::string file;
    zq_FileFacts facts;
    if (!zq_FileNameBytes(mapped, file) || !zq_FileFactsOf(mapped, facts)) return false;
    stamp->path = std::move(file);
    stamp->device = facts.device;
    stamp->inode = facts.inode;
    stamp->size = facts.size;
    stamp->mtimeNs = facts.mtimeNs;
    return true;
}
