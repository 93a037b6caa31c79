// ZqTolvarGame: the process entry of a Tolvar program, and the hook through
// which the program names its application class.
//
// A program registers its c_App subclass once, in a source file of the
// executable itself (a registration inside a static library may be dropped
// by the linker):
//     ZQ_APPLICATION(c_MyApp);
// and links tolvar_host_main, whose main() calls ZqTolvarGame::Main.
//
// Main thread only.
#pragma once

#include "runtime/host/glfw_game.h"

class c_App;

// Creates the program's application object and runs its constructor chain
// (gc_new<c_MyApp>()->m_new()).
using zq_app_factory = c_App* (*)();

// Registers the application factory; the last registration wins. Returns
// true so that it can initialise a static.
bool zqRegisterApplication(zq_app_factory factory);

#define ZQ_APPLICATION(cls)                                              \
    [[maybe_unused]] static const bool zq_application_registered_##cls = \
        zqRegisterApplication([]() -> c_App* { return gc_new<cls>()->m_new(); })

// The process arguments, as passed to main.
extern int argc;
extern char** argv;

// Sets every framework and game-module global to its default: the zq_app
// module first (it names the host), then every module initialiser.
void zqInit();

class ZqTolvarGame : public ZqGlfwGame {
  public:
    // The whole life of the process: starts GLFW (exit -1 with "glfwInit
    // failed" when it cannot), creates the host, installs the signal
    // handlers, sets the character-type locale, empties the collector,
    // initialises the globals, queues the roots, creates the application
    // and runs the frame loop. Returns 0 when the window has closed.
    static int Main(int argc, char** argv);
};
