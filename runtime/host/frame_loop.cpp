// The frame loop of ZqGlfwGame: wall-clock time into render and update
// calls at the rate the application asks for.
//
// Each pass renders once and then makes 1 to 4 updates; ahead of schedule
// it sleeps, behind it catches up with at most 4 updates and forgets the
// rest. While suspended (window unfocused or iconified) it blocks in
// glfwWaitEvents, renders once per wake-up and makes no updates.
//
// If the first window cannot be opened there is no OpenGL context for the
// devices; SetGlfwWindow then prints "glfwOpenWindow failed" and ends the
// process with exit code -1 before the game starts.

#include "runtime/glfw2/glfw2.h"
#include "runtime/host/glfw_game.h"
#include "runtime/host/screen_stats.h"

using namespace glfw2;

namespace {
constexpr int kMaxUpdatesPerFrame = 4;
}

void ZqGlfwGame::Run() {
    // Every run starts in a 640 x 480 window (or ends here without one).
    SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    // The application's OnCreate runs here and usually sets the update rate.
    StartGame();

    while (glfwGetWindowParam(GLFW_OPENED)) {
        // Draw the frame and show it.
        RenderGame();
        glfwSwapBuffers();
        zqScreenStatsSwapped();

        // Ahead of schedule: sleep until the next update is due rather than spin.
        if (nextUpdate != 0) {
            double delay = nextUpdate - glfwGetTime();
            if (delay > 0) glfwSleep(delay);
        }

        // The window callbacks run here; while suspended nothing is due, so block.
        if (suspended) {
            glfwWaitEvents();
        } else {
            glfwPollEvents();
        }

        // Focus alone decides suspension; either change restarts the schedule.
        if (glfwGetWindowParam(GLFW_ACTIVE)) {
            if (suspended) {
                ResumeGame();
                nextUpdate = 0;
            }
        } else if (!suspended) {
            SuspendGame();
            nextUpdate = 0;
        }
        // No updates while suspended; the next pass renders again.
        if (suspended) continue;

        RunUpdates();
    }
}

void ZqGlfwGame::RunUpdates() {
    // Rate 0: exactly one update per rendered frame.
    if (updateRate == 0) {
        UpdateGame();
        return;
    }
    // An unscheduled loop starts its schedule now.
    if (nextUpdate == 0) nextUpdate = glfwGetTime();
    for (int i = 0; i < kMaxUpdatesPerFrame; ++i) {
        UpdateGame();
        // The application changed the rate: the new schedule starts next frame.
        if (nextUpdate == 0) return;
        nextUpdate += updatePeriod;
        // Caught up: the next update lies in the future.
        if (nextUpdate > glfwGetTime()) return;
    }
    // Still behind after the catch-up limit: drop the backlog and restart
    // the schedule from the clock at the next frame.
    nextUpdate = 0;
}
