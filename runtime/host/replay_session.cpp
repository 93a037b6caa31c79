// The session host of a program (see replay_session.h).
#include "runtime/host/replay_session.h"

#include <cstdio>
#include <cstdlib>

#include "runtime/host/replay_host.h"
#include "runtime/host/replay_recorder.h"

#ifndef TOLVAR_PROGRAM_VERSION
#define TOLVAR_PROGRAM_VERSION "0"
#endif

const char* zqProgramVersion() {
    return TOLVAR_PROGRAM_VERSION;
}

std::string zqLastSessionPath(const std::string& program) {
    return "./." + program + "-last.rec";
}

namespace {

ZqTolvarGame* WatchingHost(const std::string& path, const std::string& program) {
    // Read for the whole process; the host is never freed either.
    std::FILE* file = zqreplay::OpenFile(path, "rb");
    if (!file) {
        std::fprintf(stderr, "%s: %s: cannot open the recording\n", program.c_str(), path.c_str());
        std::exit(2);
    }
    auto* input = new zqreplay::FileInput(file);
    auto* player = new ZqReplayPlayer(*input);
    if (!player->Open()) {
        std::fprintf(stderr, "%s: %s: %s\n", program.c_str(), path.c_str(), player->error().c_str());
        std::exit(2);
    }
    auto* host = new ZqReplayHost(ZqReplayHost::Mode::Watch, *player);
    host->label = program + ": " + path;
    return host;
}

ZqTolvarGame* RecordingHost(const ZqOptions& options, const std::string& program) {
    auto* host = new ZqRecordingHost<ZqTolvarGame>();
    host->program = program;
    host->version = zqProgramVersion();
    std::vector<std::string> paths;
    if (!options.recordPath.empty()) paths.push_back(options.recordPath);
    paths.push_back(zqLastSessionPath(program));
    if (host->recorder.Open(paths)) host->recorder.FinishAtExit();
    return host;
}

}  // namespace

ZqTolvarGame* zqCreateSessionHost(const ZqOptions& options, const char* argv0) {
    std::string program = argv0 && *argv0 ? argv0 : "tolvar";
    size_t slash = program.find_last_of("/\\");
    if (slash != std::string::npos) program = program.substr(slash + 1);
    if (!options.replayPath.empty()) return WatchingHost(options.replayPath, program);
    return RecordingHost(options, program);
}
