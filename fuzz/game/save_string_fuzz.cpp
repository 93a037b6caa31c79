// The saved-state string on arbitrary file contents: the bytes are decoded
// as the state file is (String::FromFileBytes) and restored over a fresh
// game's defaults as p_Load does (block search by field count, checksums,
// huge and negative numbers, stray separators).
//
// Whatever the input, loading never reads outside its fields and ends with
// the repairs applied; the state it leaves saves to a string that loads back
// to the very same state (a save of what was loaded is stable).
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "runtime/lang/gc.h"
#include "tests/game_support/headless_game.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// One game for the whole run (a game object is large), its saved fields set
// back to the defaults the shell gives them before loading.
c_MyApp* Defaults() {
    static HeadlessHost host;
    static c_MyApp* app = NewHeadlessGame(&host);  // a collector root
    for (int i = 0; i < 25; ++i) app->settings[i] = 0;
    app->settings[5] = 1;
    for (int i = 0; i < app->badges.Length(); ++i) app->badges[i] = false;
    for (int i = 0; i < app->scores.Length(); ++i) app->scores[i] = 0;
    return app;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;  // the state loader reads no more than this
    // Loading prints its messages; they would drown the fuzzer's own (and
    // the replay driver's count, on standard output after the last input).
    static const int devNull = open("/dev/null", O_WRONLY);
    const int console = dup(STDOUT_FILENO);
    dup2(devNull, STDOUT_FILENO);

    c_MyApp* app = Defaults();
    app->RestoreSaveString(String::FromFileBytes(data, static_cast<int>(size)));
    check(app->settings[14] == 1);
    check(app->settings[10] >= 64 && app->settings[11] >= 64 && app->settings[12] > 7);
    check(overscan == 0.0f);

    const String saved = app->SaveString();
    Defaults()->RestoreSaveString(saved);
    check(app->SaveString() == saved);
    // The split fields and strings are collected objects; nothing else
    // would ever collect them in this loop.
    gc_collect_all();
    dup2(console, STDOUT_FILENO);
    close(console);
    return 0;
}
