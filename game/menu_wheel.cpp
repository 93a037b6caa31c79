// The title screen's level wheel: the unlock rule, the tiles on their arc,
// the smoothed turning with drag and end-stops, key navigation with repeat,
// and the touch choices.
//
// Geometry: level i sits at angle A = 32 i + 48 + wheelAngle degrees
// (clockwise from up) round the wheel's centre, so the selected level rests
// at 48 degrees when wheelAngle equals its target -32 * selectedLevel. Only
// the selected level and three either side are drawn; the end-stops and the
// selection by angle look at those seven tiles only (a level far off the
// wheel has an angle that means nothing).
//
// Main thread; called from p_Menu in the order of its steps.
#include <cmath>

#include "game/degrees.h"
#include "game/my_app.h"

namespace {

constexpr int kLastLevel = 99;  // the wheel holds levels 0..99 (shown as 1..100)
constexpr int kDrawnEitherSide = 3;
constexpr float kLevelSpacing = 32.0f;  // degrees between levels
constexpr float kMaxVelocity = 40.0f;
constexpr float kDragReach2 = 500.0f * 500.0f;
constexpr float kStartReach2 = 2048.0f;   // about 45 pixels round the selected tile
constexpr float kSelectReach2 = 1352.0f;  // about 37 pixels round another tile
constexpr int kFirstRepeat = 30, kRepeatStep = 12, kFastestRepeat = 3;  // updates

struct Tile {
    float x, y, angle;
};

// Where level `level` sits for the current wheel angle: on an arc that
// bulges outwards round 45 degrees.
Tile TileAt(int level, float wheelAngle, float centreX, float centreY) {
    float a = kLevelSpacing * static_cast<float>(level) + 48.0f + wheelAngle;
    float bulge = std::fmax(0.0f, 45.0f - std::fabs(a - 45.0f)) * 1.5f;
    float distance = 116.0f + bulge;
    return {centreX + SinDeg(a) * distance, centreY - CosDeg(a) * distance, a};
}

float Dist2(float ax, float ay, float bx, float by) {
    return (ax - bx) * (ax - bx) + (ay - by) * (ay - by);
}

}  // namespace

// [SECTION] Unlock rule ----------------------------------------------------------

// Points per level from the best results: completing a level (passMark)
// unlocks the next, 60 % two ahead, 90 % three ahead. More than 2 points
// unlocks a level; level 0 always has 10. On the first title frame after
// start the wheel jumps to the highest unlocked level.
void c_MyApp::MenuUnlockRule() {
    for (int i = 0; i <= kLastLevel + 5; ++i) unlockPoints[i] = 0;
    unlockPoints[0] = 10;
    for (int i = 0; i <= kLastLevel; ++i) {
        int best = scores[10 * i];
        if (best >= passMark) {
            unlockPoints[i + 1] += 3;
            unlockPoints[i + 2] += 2;
        }
        if (best > 59) {
            unlockPoints[i + 1] += 3;
            unlockPoints[i + 2] += 3;
            unlockPoints[i + 3] += 1;
        }
        if (best > 89) {
            unlockPoints[i + 1] += 3;
            unlockPoints[i + 2] += 3;
            unlockPoints[i + 3] += 2;
            unlockPoints[i + 4] += 1;
        }
    }
    highestUnlocked = 0;
    for (int i = 0; i <= kLastLevel + 1; ++i)
        if (unlockPoints[i] > 2) highestUnlocked = i;

    if (jumpToBest != 0) {
        jumpToBest = 0;
        // Level 100 can be unlocked by a good result on the last level; the
        // wheel ends at 99.
        selectedLevel = highestUnlocked > kLastLevel ? kLastLevel : highestUnlocked;
        wheelTarget = wheelAngle = -kLevelSpacing * static_cast<float>(selectedLevel);
    }
    levelUnlocked = unlockPoints[selectedLevel] > 2 ? 1 : 0;
}

// [SECTION] Keys -------------------------------------------------------------------

// Up and down on pad 0 act on the press, then repeat after 30, 18, 6, 3, 3 ...
// held updates. The countdown (keyRepeat) restarts on release; the ending
// banner sets it to 240 each update, so keys held through the end of a level
// do not turn the wheel until they are released. These keys set no latch.
void c_MyApp::MenuWheelKeys() {
    const int up = p_PlayKey(0, 1, 0);
    const int down = p_PlayKey(8, 1, 0);
    if (up == 0 && down == 0) {
        keyRepeat = 0;
        keyRepeatDelay = kFirstRepeat;
        return;
    }
    if (menuColumn != 1 || inputLatch != 0 || waitRelease != 0 || optionsOpen != 0 || creditsOpen != 0)
        return;
    if (keyRepeat > 0) --keyRepeat;
    if (keyRepeat > 0) return;
    keyRepeat = keyRepeatDelay;
    keyRepeatDelay =
        keyRepeatDelay - kRepeatStep < kFastestRepeat ? kFastestRepeat : keyRepeatDelay - kRepeatStep;

    int next = up != 0 ? selectedLevel - 1 : selectedLevel + 1;
    if (next < 0 || next > kLastLevel) return;
    selectedLevel = next;
    wheelTarget = -kLevelSpacing * static_cast<float>(selectedLevel);
    p_PlaySFX(99, 1, 1, 0);
}

// [SECTION] Touches ------------------------------------------------------------------

// With the wheel at rest, a touch on the selected tile starts it and a touch
// on a neighbour selects that one.
void c_MyApp::MenuWheelTouches(float centreX, float centreY) {
    if (inputLatch != 0 || waitRelease != 0 || optionsOpen != 0 || creditsOpen != 0) return;
    if (std::fabs(wheelAngle - wheelTarget) >= 2.0f) return;
    for (int t = 0; t < touchDown.Length(); ++t) {
        if (touchDown[t] == 0) continue;
        const float tx = static_cast<float>(touchX[t]), ty = static_cast<float>(touchY[t]);
        for (int i = selectedLevel - kDrawnEitherSide; i <= selectedLevel + kDrawnEitherSide; ++i) {
            if (i < 0 || i > kLastLevel) continue;
            Tile tile = TileAt(i, wheelAngle, centreX, centreY);
            float d2 = Dist2(tx, ty, tile.x, tile.y);
            if (i == selectedLevel && d2 < kStartReach2) {
                if (unlockPoints[i] > 2) {
                    MenuStartLevel();
                } else {
                    menuColumn = 1;
                    inputLatch = waitRelease = 1;
                }
                return;
            }
            if (i != selectedLevel && d2 < kSelectReach2) {
                selectedLevel = i;
                menuColumn = 1;
                wheelTarget = -kLevelSpacing * static_cast<float>(i);
                inputLatch = waitRelease = 1;
                p_PlaySFX(99, 1, 1, 0);
                return;
            }
        }
    }
}

// [SECTION] Turning -------------------------------------------------------------------

// The drag adds to the velocity, the velocity moves the target, and the
// shown angle eases an eighth of the way to the target. While the wheel
// turns freely (its target is not on the selected level), the drawn level
// whose angle lies in 30..60 degrees becomes the selection; the first and
// last levels push the wheel back when it turns past them, and a wheel so
// pushed comes to rest centred on its selection.
void c_MyApp::MenuWheelMotion(float centreX, float centreY) {
    const bool onGear = std::fabs(static_cast<float>(touchX[0]) - centreX) < 32.0f &&
                        std::fabs(static_cast<float>(touchY[0]) - centreY) < 32.0f;
    const bool drag =
        touchDown[0] != 0 && optionsOpen == 0 && creditsOpen == 0 && !onGear &&
        Dist2(static_cast<float>(touchX[0]), static_cast<float>(touchY[0]), centreX, centreY) < kDragReach2;
    if (drag) {
        if (wheelDragY != -3717) wheelVelocity -= static_cast<float>(touchY[0] - wheelDragY) / 4.0f;
        wheelDragY = touchY[0];
    } else {
        wheelDragY = -3717;
    }
    wheelVelocity = std::fmax(-kMaxVelocity, std::fmin(kMaxVelocity, wheelVelocity));

    if (selectedLevel >= kLastLevel - kDrawnEitherSide) {
        float a = kLevelSpacing * kLastLevel + 48.0f + wheelAngle;
        if (a < 30.0f || a > 200.0f) {
            wheelVelocity = 4.0f;
            wheelBounced = 1;
        }
    }
    if (selectedLevel <= kDrawnEitherSide) {
        float a = 48.0f + wheelAngle;
        if (a > 60.0f && a < 200.0f) {
            wheelVelocity = -4.0f;
            wheelBounced = 1;
        }
    }

    wheelTarget += wheelVelocity;
    wheelVelocity *= 0.75f;
    if (std::fabs(wheelVelocity) < 1.0f) wheelVelocity = 0.0f;
    // The end-stop's push overshoots (it acts on the eased angle, which lags
    // the target): once it has died away, the wheel settles centred on the
    // level it selects instead of resting wherever the push left it.
    if (wheelBounced != 0 && wheelVelocity == 0.0f) {
        wheelBounced = 0;
        wheelTarget = -kLevelSpacing * static_cast<float>(selectedLevel);
    }

    const float before = wheelAngle;
    wheelAngle -= (wheelAngle - wheelTarget) * 0.125f;
    if (std::fabs(wheelAngle - wheelTarget) < 0.5f) wheelAngle = wheelTarget;
    // A wheel settling on the selected level (the target that keys and
    // touches set) is not a turn: the level it leaves must not be picked up
    // again on the way.
    if (std::fabs(wheelAngle - before) <= 0.05f) return;
    if (wheelTarget == -kLevelSpacing * static_cast<float>(selectedLevel)) return;

    const int from = selectedLevel;
    for (int i = from - kDrawnEitherSide; i <= from + kDrawnEitherSide; ++i) {
        if (i < 0 || i > kLastLevel || i == from) continue;
        float a = kLevelSpacing * static_cast<float>(i) + 48.0f + wheelAngle;
        if (a >= 30.0f && a <= 60.0f) {
            selectedLevel = i;
            p_PlaySFX(99, 1, 1, 0);
            break;
        }
    }
}

// [SECTION] Drawing -----------------------------------------------------------------

// Seven tiles, the selected one last (on top) and larger. A tile's frame
// tells its state: 2 locked, 0 open, 1 completed, 3 above 89 % (also when
// locked). Over it the level number and, lower down, its best result.
void c_MyApp::MenuDrawWheel(float centreX, float centreY) {
    const float alpha = menuColumn == 1 ? 1.0f : 0.3f;
    for (int n = -kDrawnEitherSide; n <= kDrawnEitherSide + 1; ++n) {
        // n runs over the neighbours first and ends with the selected level.
        int i = n == kDrawnEitherSide + 1 ? selectedLevel : selectedLevel + n;
        if (n == 0 || i < 0 || i > kLastLevel) continue;
        Tile tile = TileAt(i, wheelAngle, centreX, centreY);
        const float scale = i == selectedLevel ? 1.75f : 0.75f;
        const int best = scores[10 * i];
        const bool unlocked = unlockPoints[i] > 2;
        int frame = best > 89 ? 3 : (!unlocked ? 2 : (best >= passMark ? 1 : 0));

        p_ResetDraw();
        p_SetRot(-(tile.angle - 55.0f) / 2.0f);
        p_Alpha(alpha);
        p_SetSize(scale);
        p_DrawImg(95, tile.x, tile.y, static_cast<float>(frame));
        p_SetSize(scale * 2.5f);
        p_Text(tile.x, tile.y, String(i + 1), 1, 1, 0);
        // "Lower" along the tile's own down direction, as text lines go.
        const float r = drawRotation;
        p_SetSize(scale * 0.75f);
        p_Text(tile.x + SinDeg(180.0f - r) * 28.0f, tile.y - CosDeg(180.0f - r) * 28.0f, String(best) + "%",
               1, 1, 0);
    }
    p_ResetDraw();
}
