// skitterwind-piloted: the whole game (the same c_MyApp, host, window and
// data as skitterwind) with an observer and an autopilot on board, for the
// end-to-end test and the soak.
//
// - Observer: after every update it prints a line to standard output when
//   something a player would notice changes: "e2e: screen N" (0 while the
//   loader runs), "e2e: ending reason R result P", "e2e: banner <text>" (the
//   glyphs drawn when the banner is at full length), and on the title
//   screen "e2e: title selected S unlocked U panel <text>" with every glyph
//   the title draws.
// - Pilot: while a level is being played it looks at the play field (read
//   only) and holds the arrow keys it chooses. Its keys go through the
//   host's key events (the delegate, the input device and a collector step,
//   as for a key from the window), sent after each update so that the next
//   update sees them, as the autoplay tool does: the pilot models its bug's
//   speed from its own key history, which holds only when every key takes
//   effect on the next update. (X events from outside are polled once per
//   frame, and a frame that runs two updates would delay them by one.)
// - Soak (SKW_SOAK_SECONDS > 0): from the title it starts levels 1..10 in
//   turn itself (as the autoplay tool does: currentLevel and the level-start
//   screen), prints each level's outcome and every 10 seconds the resident
//   memory and the collector's live bytes, and quits after that many
//   seconds through the game's own exit path.
// - SKW_TRACE in the environment adds a line per key change and one per
//   update in which the game sees other keys than the pilot holds.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "game/my_app.h"
#include "game/records.h"
#include "input/input_device.h"
#include "runtime/host/tolvar_game.h"
#include "runtime/host/zq_app.h"
#include "runtime/lang/game.h"
#include "runtime/lang/gc.h"
#include "tools/autoplay/autopilot.h"

namespace {

constexpr int kTitle = 1, kPlay = 10, kLevelStart = 11;
// The runtime's key codes of the arrow keys.
constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

double Seconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

long ResidentKb() {
    long kb = -1;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "VmRSS: %ld kB", &kb) == 1) break;
        std::fclose(f);
    }
    return kb;
}

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace

class c_PilotedApp : public c_MyApp {
  public:
    void p_OnUpdate() override {
        c_MyApp::p_OnUpdate();
        ++updates_;
        Observe();
        Pilot();
        if (soakSeconds_ > 0) Soak();
    }

  private:
    int updates_ = 0;
    // The characters the current display list draws with the game's font.
    std::string Glyphs() const {
        std::string out;
        for (int i = 0; i + 15 <= displayListFill; i += 15) {
            if (displayList[i] != static_cast<float>(fontSlot)) continue;
            const int frame = static_cast<int>(displayList[i + 6]);
            out += frame >= 1 && frame < 96 ? static_cast<char>(frame + 32) : '?';
        }
        return out;
    }

    void Observe() {
        const int screen = loaderStage > 0 ? 0 : screenMode;
        if (screen != lastScreen_) Say("e2e: screen " + std::to_string(screen));
        lastScreen_ = screen;
        if (screenMode == kPlay && gameOver != 0 && !endingSaid_) {
            Say("e2e: ending reason " + std::to_string(gameOverReason) + " result " +
                std::to_string(lastResult));
            endingSaid_ = true;
        }
        if (screenMode != kPlay) endingSaid_ = false;
        if (screenMode == kPlay && bannerTimer == 60) Say("e2e: banner " + Glyphs());
        // The title once the banner is gone (the update in which its timer
        // reaches 0 still draws it) and the wheel is at rest (a turning
        // wheel selects the level under its pointer itself).
        const bool settled =
            bannerTimer == 0 && lastBannerTimer_ == 0 && std::abs(wheelAngle - wheelTarget) < 0.5f;
        lastBannerTimer_ = bannerTimer;
        if (screen == kTitle && settled) {
            std::string title = "e2e: title selected " + std::to_string(selectedLevel) + " unlocked " +
                                std::to_string(levelUnlocked) + " panel " + Glyphs();
            if (title != lastTitle_) Say(title);
            lastTitle_ = title;
        }
    }

    void Pilot() {
        const bool playing = screenMode == kPlay && loaderStage == 0 && paused == 0 && gameOver == 0 &&
                             player[rec::kPlayerHomeMeter] < 64.0f;
        if (!playing) {
            Hold(autopilot::Keys{});
            if (screenMode != kPlay) pilot_.Reset();
            return;
        }
        if (trace_) {
            std::string seen =
                std::to_string(p_PlayKey(3, 0, 0) != 0) + std::to_string(p_PlayKey(5, 0, 0) != 0) +
                std::to_string(p_PlayKey(0, 0, 0) != 0) + std::to_string(p_PlayKey(8, 0, 0) != 0);
            std::string mine = std::to_string(held_.left) + std::to_string(held_.right) +
                               std::to_string(held_.up) + std::to_string(held_.down);
            if (seen != mine)
                Say("e2e: seen " + seen + " held " + mine + " update " + std::to_string(updates_));
        }
        Hold(pilot_.Decide(autopilot::Look(*this)));
    }

    void Hold(const autopilot::Keys& want) {
        if (want == held_) return;
        if (trace_)
            Say("e2e: keys " + std::to_string(want.left) + std::to_string(want.right) +
                std::to_string(want.up) + std::to_string(want.down) + " at " +
                std::to_string(player[rec::kPlayerX]) + "," + std::to_string(player[rec::kPlayerY]));
        Key(kLeft, want.left, held_.left);
        Key(kRight, want.right, held_.right);
        Key(kUp, want.up, held_.up);
        Key(kDown, want.down, held_.down);
        held_ = want;
    }

    static void Key(int code, bool want, bool held) {
        if (want != held) ZqGame::_game->KeyEvent(want ? kInputKeyDown : kInputKeyUp, code);
    }

    void Soak() {
        const double now = Seconds() - soakStart_;
        if (now >= nextReport_) {
            Say("soak: t " + std::to_string(static_cast<int>(now)) + " rss_kb " +
                std::to_string(ResidentKb()) + " gc_live " + std::to_string(gc_alloced_bytes) + " levels " +
                std::to_string(levelsStarted_));
            nextReport_ += 10;
        }
        if (screenMode == kPlay && gameOver != 0 && !outcomeSaid_) {
            Say("soak: level " + std::to_string(currentLevel) + " reason " + std::to_string(gameOverReason) +
                " result " + std::to_string(lastResult));
            outcomeSaid_ = true;
        }
        if (now >= soakSeconds_) {
            Say("soak: done t " + std::to_string(static_cast<int>(now)) + " rss_kb " +
                std::to_string(ResidentKb()) + " gc_live " + std::to_string(gc_alloced_bytes) + " levels " +
                std::to_string(levelsStarted_));
            zq_app_EndApp();
        }
        if (screenMode == kTitle && loaderStage == 0 && bannerTimer == 0 && menuIntro >= 0) {
            currentLevel = 1 + levelsStarted_ % 10;
            selectedLevel = currentLevel - 1;
            screenMode = kLevelStart;
            ++levelsStarted_;
            outcomeSaid_ = false;
        }
    }

    const bool trace_ = std::getenv("SKW_TRACE") != nullptr;
    autopilot::Pilot pilot_;
    autopilot::Keys held_;
    int lastScreen_ = -1, lastBannerTimer_ = 0;
    bool endingSaid_ = false, outcomeSaid_ = false;
    std::string lastTitle_;
    const double soakSeconds_ =
        std::getenv("SKW_SOAK_SECONDS") ? std::atof(std::getenv("SKW_SOAK_SECONDS")) : 0;
    const double soakStart_ = Seconds();
    double nextReport_ = 0;
    int levelsStarted_ = 0;
};

ZQ_APPLICATION(c_PilotedApp);
