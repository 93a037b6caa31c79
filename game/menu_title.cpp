// The title screen (screen 1): one update of input, state and drawing.
//
// Layout: the logo and the level wheel on the left, a dark panel on the
// right with the selected level's results (and the play icon), the options
// gear at the wheel's centre. Three columns take the focus: 0 the gear,
// 1 the wheel, 2 the credits panel. The options box and the credits are
// overlays within this screen; while either is open the wheel is hidden and
// its input ignored.
//
// Presses: every accepted press sets both latches (inputLatch, waitRelease),
// and nothing here reacts while either is set; the shell clears them when
// the actions and the pointer are released. The wheel's up/down keys are the
// exception: they repeat while held (menu_wheel.cpp).
//
// The wheel, unlock rule and key repeat live in menu_wheel.cpp, the results
// panel in menu_results.cpp, the credits in menu_credits.cpp. Main thread.
#include <cmath>

#include "game/my_app.h"
#include "runtime/host/zq_app.h"

namespace {

constexpr float kPanelWidth = 140.0f;  // the right-hand panel while the credits are closed
constexpr float kPlayArea = 128.0f;    // touch area of the play icon
constexpr float kGearArea = 64.0f;     // touch area of the gear

// The play icon keeps to the middle of the panel's closed width, so the
// credits sliding over the screen leave it at the right edge.
float PlayIconX(float panelX, float creditsSlide) {
    return panelX + creditsSlide + kPanelWidth / 2.0f;
}

}  // namespace

int c_MyApp::p_Menu() {
    p_DoBG(240, 240, 240, -123);

    if (inputLatch == 0 && waitRelease == 0 && p_PlayKeyAll(99, 1) != 0) zq_app_EndApp();

    if (menuIntro < 0) ++menuIntro;
    const float intro = static_cast<float>(menuIntro);  // -32 .. 0: slides the columns in
    const float panelOffset = creditsSlide + kPanelWidth;
    const float panelX = vscrw - panelOffset - 8.0f * intro;
    const float centreX = 38.0f + 12.0f * intro;
    const float centreY = vscrh - 64.0f - 8.0f * intro;
    const bool creditsFocused = menuColumn == 2;

    p_ResetDraw();
    p_SetSize(1.5f);
    p_DrawImg(98, panelX / 2.0f, 115.0f + 12.0f * intro, 0);

    p_ResetDraw();
    p_SetCol(0, 0, 0, creditsFocused ? 0.75f : 0.45f);
    p_Rect(panelX, 0, vscrw - panelX, vscrh);
    p_SetCol(255, 255, 255, creditsFocused ? 1.0f : 0.2f);
    p_Rect(panelX - 2.0f, 0, 3.0f, vscrh);
    // The play icon sits faintly behind the recent results: it is a touch
    // target first (full strength when the pointer is the player's input).
    // It fades out under the credits, where it does not answer.
    const float creditsShown = vscrw > kPanelWidth ? creditsSlide / (vscrw - kPanelWidth) : 0.0f;
    p_SetCol(255, 255, 255, (inputKind == 2 ? 0.8f : 0.25f) * (1.0f - std::fmin(1.0f, creditsShown)));
    p_SetSize(3.0f);
    p_DrawImg(97, PlayIconX(panelX, creditsSlide), vscrh - 48.0f, 3);

    MenuUnlockRule();
    MenuColumnInput(panelX, centreX, centreY);
    MenuWheelTouches(centreX, centreY);
    MenuWheelKeys();
    MenuWheelMotion(centreX, centreY);
    levelUnlocked = unlockPoints[selectedLevel] > 2 ? 1 : 0;
    currentLevel = selectedLevel + 1 < 1 ? 1 : (selectedLevel + 1 > 100 ? 100 : selectedLevel + 1);

    if (optionsOpen == 0 && creditsOpen == 0) MenuDrawWheel(centreX, centreY);
    // 20 pixels in from the panel's edge: the lists' eleven characters at
    // scale 1.5 then end with the last digit's inked columns (its shadow
    // included) at x 635 of a 640-pixel screen.
    MenuResultsPanel(vscrw - panelOffset - 4.0f * intro + 20.0f);
    MenuDrawGear(centreX, centreY);
    if (creditsOpen == 1 || creditsSlide > 0.0f) MenuCredits(panelOffset);
    p_ResetDraw();
    return 0;
}

// Left and right move the focus between the columns; the select buttons act
// on the focused column; touches on the panel, the play icon and the gear
// focus (and act on) their column.
void c_MyApp::MenuColumnInput(float panelX, float centreX, float centreY) {
    if (inputLatch != 0 || waitRelease != 0 || optionsOpen != 0 || creditsOpen != 0) return;
    auto accept = [this](int sound) {
        inputLatch = waitRelease = 1;
        if (sound > 0) p_PlaySFX(sound, 1, 1, 0);
    };

    if (p_PlayKeyAll(3, 1) != 0 && menuColumn > 0) {
        --menuColumn;
        accept(99);
        return;
    }
    if (p_PlayKeyAll(5, 1) != 0 && menuColumn < 2) {
        ++menuColumn;
        accept(99);
        return;
    }

    const bool select = p_PlayKeyAll(10, 1) != 0 || p_PlayKeyAll(11, 1) != 0 || p_PlayKeyAll(12, 1) != 0;
    if (select) {
        if (menuColumn == 1 && unlockPoints[selectedLevel] > 2) {
            MenuStartLevel();
        } else if (menuColumn == 0) {
            optionsOpen = 1;
            optionsLatch = 1;  // the opening press must not act inside the box
            accept(99);
        } else if (menuColumn == 2) {
            creditsOpen = 1;
            accept(99);
        }
        return;
    }

    if (p_MouseIn_Centered(PlayIconX(panelX, creditsSlide), vscrh - 48.0f, kPlayArea, kPlayArea)) {
        menuColumn = 1;
        if (unlockPoints[selectedLevel] > 2)
            MenuStartLevel();
        else
            accept(99);
    } else if (p_MouseIn(panelX, 0, vscrw - panelX, vscrh)) {
        if (menuColumn == 2) creditsOpen = 1;
        menuColumn = 2;
        accept(99);
    } else if (p_MouseIn_Centered(centreX, centreY, kGearArea, kGearArea)) {
        menuColumn = 0;
        optionsOpen = 1;
        optionsLatch = 1;
        accept(99);
    }
}

// Starts the selected level: the shell's level start (screen 11) builds
// currentLevel. inputKind records how the player chose, for button glyphs.
void c_MyApp::MenuStartLevel() {
    if (pointerDown != 0) {
        inputKind = 2;
    } else {
        int keyboard = 0;
        for (int action = 10; action <= 15; ++action) keyboard += p_PlayKey(action, 1, -1);
        inputKind = keyboard != 0 ? 0 : 1;
    }
    menuColumn = 1;
    currentLevel = selectedLevel + 1;
    wheelTarget = -32.0f * static_cast<float>(selectedLevel);
    inputLatch = waitRelease = 1;
    screenMode = 11;
    p_PlaySFX(98, 1, 1, 0);
}

// The options gear at the wheel's centre: three gear wheels turning against
// each other while the column is focused, inside a lens.
void c_MyApp::MenuDrawGear(float centreX, float centreY) {
    if (menuColumn == 0) gearAngle = std::fmod(gearAngle + 0.3f, 360.0f);
    const float g = gearAngle;
    p_ResetDraw();
    p_SetSize(0.45f);
    p_DrawImg(85, centreX, centreY, 0);
    p_SetSize(1.0f);
    p_SetRot(g);  // stored as -g
    p_DrawImg(95, centreX, centreY, 8);
    p_SetRot(-2.0f * g);  // stored as 2g
    p_DrawImg(95, centreX, centreY, 9);
    p_SetRot(4.0f * g);  // stored as -4g
    p_DrawImg(95, centreX, centreY, 10);
    p_ResetDraw();
}
