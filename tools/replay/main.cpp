// skitterwind-replay FILE [--state-out PATH]: replays a session recording
// without a window or sound, as fast as the machine allows, and checks it.
//
// Standard output: one line per level played (see level_report.h), then
//
//   hash 0123456789abcdef checkpoints 12/12
//
// with the game's state hash at the end and the checkpoints that matched
// out of those met. --state-out writes the saved state the replayed
// session left (its last save, or the state it started from), byte for
// byte what the live session left in .tolvarstate. The game's own
// diagnostic lines go to standard error.
//
// Exit status: 0 when every checkpoint matched; 1 at the first checkpoint
// that differs ("checkpoint differs at update N"); 2 for a bad command
// line or a file that cannot be replayed (not a recording, a wrong format
// or data version, a damaged header, a record cut short or damaged), with
// one line on standard error naming the problem.
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/my_app.h"
#include "runtime/host/replay_host.h"
#include "runtime/host/replay_recorder.h"
#include "runtime/host/tolvar_game.h"
#include "runtime/lang/gc.h"
#include "tools/replay/level_report.h"

namespace {

constexpr const char* kProgram = "skitterwind-replay";

// The run's state, for the exit handler (the replayed game may end the
// process itself, exactly where the recorded one did).
struct Run {
    const char* path = nullptr;
    const char* stateOut = nullptr;
    std::FILE* report = nullptr;
    ZqReplayHost* host = nullptr;
    c_MyApp* app = nullptr;
    LevelReport* levels = nullptr;
    bool done = false;
} run;

// Ends the process at once: the audio library's own teardown would only
// add a complaint about the (null) device it leaves open.
[[noreturn]] void Exit(int status) {
    std::fflush(nullptr);
    std::_Exit(status);
}

[[noreturn]] void Fail(const std::string& problem) {
    std::fprintf(stderr, "%s: %s: %s\n", kProgram, run.path, problem.c_str());
    Exit(2);
}

bool WriteStateOut() {
    std::FILE* out = std::fopen(run.stateOut, "wb");
    if (!out) return false;
    std::string bytes = run.host->saved.ToUtf8();
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && ok;
}

// Reports the outcome and gives the exit status.
int Finish(ZqReplayPlayer::Outcome outcome) {
    using Outcome = ZqReplayPlayer::Outcome;
    run.done = true;
    ZqReplayPlayer& player = run.host->player();
    if (outcome == Outcome::Failed) {
        std::fflush(run.report);
        std::fprintf(stderr, "%s: %s: %s\n", kProgram, run.path, player.error().c_str());
        return 2;
    }
    run.levels->Close();
    if (run.stateOut && !WriteStateOut())
        std::fprintf(stderr, "%s: cannot write %s\n", kProgram, run.stateOut);
    if (outcome == Outcome::Mismatch) {
        std::fprintf(run.report, "checkpoint differs at update %u\n", player.mismatchUpdate());
        std::fflush(run.report);
        return 1;
    }
    std::fprintf(run.report, "hash %016llx checkpoints %d/%d\n",
                 static_cast<unsigned long long>(zqAppStateHash()), player.checkpointsMatched(),
                 player.checkpoints());
    std::fflush(run.report);
    return 0;
}

// The replayed game ended the process (F4, Escape on the title, the
// window's close button) inside a step, as the recorded one did: check
// what the recording holds after that step and report.
void FinishAtExit() {
    if (!run.done) Exit(Finish(run.host->player().FinishAfterExit()));
}

int Usage() {
    std::fprintf(stderr, "usage: %s FILE [--state-out PATH]\n", kProgram);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--state-out") == 0)) return Usage();
    run.path = argv[1];
    run.stateOut = argc == 4 ? argv[3] : nullptr;
    // No sound: OpenAL's null output.
    static char noSound[] = "ALSOFT_DRIVERS=null";
    putenv(noSound);
    // Standard output carries the report alone; the game prints to stderr.
    std::fflush(stdout);
    run.report = fdopen(dup(STDOUT_FILENO), "w");
    dup2(STDERR_FILENO, STDOUT_FILENO);

    std::FILE* file = zqreplay::OpenFile(run.path, "rb");
    if (!file) Fail("cannot open the recording");
    zqreplay::FileInput input(file);
    ZqReplayPlayer player(input);
    if (!player.Open()) Fail(player.error());

    // The start-up of ZqTolvarGame::Main, without GLFW or a window.
    run.host = new ZqReplayHost(ZqReplayHost::Mode::Headless, player);
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");
    gc_reset();
    run.host->Install();
    run.app = gc_new<c_MyApp>()->m_new();
    std::string why;
    if (!player.Compatible(why)) Fail(why);

    LevelReport levels(run.report);
    run.levels = &levels;
    std::atexit(FinishAtExit);
    for (;;) {
        ZqReplayPlayer::Outcome outcome = player.RunNext();
        if (outcome != ZqReplayPlayer::Outcome::Step) Exit(Finish(outcome));
        if (player.lastStep() == zqreplay::Record::Kind::Update) levels.AfterUpdate(*run.app);
    }
}
