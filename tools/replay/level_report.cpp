// LevelReport (see level_report.h).
#include "tools/replay/level_report.h"

#include <cstring>

#include "game/my_app.h"

namespace {

constexpr int kPlayScreen = 10;

}  // namespace

void LevelReport::AfterUpdate(const c_MyApp& app) {
    // A level starts in the update that builds it (the level-start screen
    // hands over to play).
    if (!inLevel_ && app.screenMode == kPlayScreen && lastScreen_ != kPlayScreen) {
        inLevel_ = true;
        level_ = app.currentLevel;
        updates_ = 0;
    } else if (inLevel_) {
        ++updates_;
        if (app.gameOver != 0) {
            const char* ending = c_MyApp::m_EndingName(app.gameOverReason);
            Line(std::strcmp(ending, "complete") == 0 ? app.lastResult : 0, ending);
        } else if (app.screenMode != kPlayScreen) {
            Line(0, "none");
        }
    }
    lastScreen_ = app.screenMode;
}

void LevelReport::Close() {
    if (inLevel_) Line(0, "none");
}

void LevelReport::Line(int result, const char* ending) {
    std::fprintf(out_, "level %d result %d ending %s updates %d\n", level_, result, ending, updates_);
    inLevel_ = false;
}
