// The frame loop's pass, shared by every host kind: wall-clock time into
// render and update calls at the rate the application asks for. Who repeats
// the pass is the host kind's own (host_platform.h): a blocking loop on the
// desktop, the browser's animation frames on the web.
//
// Each pass renders once and then makes 1 to 4 updates; ahead of schedule
// it waits, behind it catches up with at most 4 updates and forgets the
// rest. While suspended (window unfocused or iconified, tab hidden) it waits
// for events, renders once per wake-up and makes no updates.

#include "runtime/glfw2/glfw2.h"
#include "runtime/host/glfw_game.h"
#include "runtime/host/screen_stats.h"

using namespace glfw2;

namespace {
constexpr int kMaxUpdatesPerFrame = 4;
}

void ZqGlfwGame::RunFrame() {
    // Draw the frame and show it.
    RenderGame();
    glfwSwapBuffers();
    zqScreenStatsSwapped();

    WaitForNextUpdate();

    // The window callbacks run here; while suspended nothing is due, so block.
    if (suspended) {
        glfwWaitEvents();
    } else {
        glfwPollEvents();
    }

    FollowFocus();
    // No updates while suspended; the next pass renders again.
    if (suspended) return;

    RunUpdates();
}

void ZqGlfwGame::FollowFocus() {
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
