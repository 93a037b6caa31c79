#include "tests/game_support/headless_game.h"

#include "runtime/host/tolvar_game.h"
#include "runtime/lang/gc.h"

namespace {
c_MyApp* testGame = nullptr;
GC_ROOT(testGame);
}  // namespace

c_MyApp* NewHeadlessGame(HeadlessHost* host) {
    ZqGame::_game = host;
    zqInit();
    gc_assign(testGame, gc_new<c_MyApp>()->InitFields());
    return testGame;
}
