// ZqTolvarGame::Main and the start-up steps it runs, in order.
#include "runtime/host/tolvar_game.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "runtime/glfw2/glfw2.h"
#include "runtime/host/app.h"
#include "runtime/host/options.h"
#include "runtime/host/replay_session.h"
#include "runtime/host/zq_app.h"
#include "runtime/lang/errors.h"
#include "runtime/lang/init.h"

int argc = 0;
char** argv = nullptr;

namespace {
zq_app_factory registeredFactory = nullptr;
}

bool zqRegisterApplication(zq_app_factory factory) {
    registeredFactory = factory;
    return true;
}

void zqInit() {
    zq_app_InitGlobals(ZqGame::_game);
    zq_run_module_inits();
}

int ZqTolvarGame::Main(int processArgc, char** processArgv) {
    // Before anything is printed (platform_console.h).
    zq_PrepareConsole();
    // A bad command line is answered before any window or device exists.
    ZqOptions options;
    switch (zqParseOptions(processArgc, processArgv, options, stdout, stderr)) {
        case ZqOptionsOutcome::ExitOk:
            return 0;
        case ZqOptionsOutcome::ExitUsage:
            return 2;
        case ZqOptionsOutcome::Run:
            break;
    }
    zqSetOptions(options);
    // The host lives until the process ends; it is never collected or freed.
    // A recording that cannot be watched ends the process here (exit 2).
    ZqTolvarGame* game = zqCreateSessionHost(options, processArgc > 0 ? processArgv[0] : nullptr);

    if (!glfw2::glfwInit()) {
        std::fputs("glfwInit failed\n", stdout);
        std::fflush(stdout);
        std::exit(-1);
    }

    ZqGame::_game = game;
    ZqGlfwGame::_glfwGame = game;
    argc = processArgc;
    argv = processArgv;

    zq_InstallSignalHandlers();
    // Case mapping of strings follows the character-type locale.
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");
    gc_reset();

    try {
        zqInit();
        // Roots are queued before the application exists, so the first
        // cycle starts from them.
        gc_mark();
        if (registeredFactory) registeredFactory();
    } catch (ThrowableObject* exception) {
        glfw2::glfwTerminate();
        game->Die(exception);
    }

    // Events thrown from here on are handled by the host's event methods.
    if (game->Delegate()) game->Run();
    glfw2::glfwTerminate();
    return 0;
}
