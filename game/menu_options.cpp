// The options box, shared by the title screen and the pause screen: six
// lines ("<[BACK]", sound, iCade, full screen, the two stick directions)
// that slide up from below, a highlighted line moved by the directions, and
// selection by the buttons or a touch. Closing saves the settings.
//
// Presses: the box keeps its own latch (optionsLatch), set on every accepted
// press and by whoever opens the box (so the opening press does nothing
// here), and cleared only once every action and the pointer are released.
// The box reads input only while optionsOpen is 1; while it slides out it
// is only drawn. Main thread.
#include <cstdint>

#include "game/my_app.h"

namespace {

constexpr int kLastItem = 5;
constexpr float kLineGap = 40.0f;
constexpr float kTextX = 100.0f;
// Actions whose release frees the box's latch.
constexpr int kLatchActions[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 99};

}  // namespace

// Labels read saved values without trusting them: an unknown sound mode reads
// "Off", and a stick reads "Flipped" only for 0.
String c_MyApp::OptionLine(int item) {
    switch (item) {
        case 0:
            return String("<[BACK]");
        case 1:
            switch (settings[5]) {
                case 1:
                    return String("Sound : SFX + Music");
                case 2:
                    return String("Sound : SFX");
                case 3:
                    return String("Sound : Music");
                default:
                    return String("Sound : Off");
            }
        case 2:
            return String(iCadeControls == 1 ? "iCade : On" : "iCade : Off");
        case 3:
            return String(fullscreenState == 0 ? "Fullscreen" : "Windowed");
        case 4:
            return String(settings[15] == 0 ? "Left Thumbstick Y Flipped" : "Left Thumbstick Y Normal");
        case 5:
            return String(settings[16] == 0 ? "Right Thumbstick Y Flipped" : "Right Thumbstick Y Normal");
        default:
            return String();
    }
}

void c_MyApp::OptionSelect(int item) {
    switch (item) {
        case 1:
            NextSoundMode();  // plays the select sound itself when the new mode allows it
            return;
        case 2:
            iCadeControls = iCadeControls == 1 ? 0 : 1;
            p_iCade(iCadeControls);
            ClearPadButtons();
            break;
        case 3:
            p_FullscreenFlip();
            break;
        case 4:
        case 5: {
            // (value + 1) mod 2, widened so that no stored value can overflow.
            int& stick = settings[item == 4 ? 15 : 16];
            stick = static_cast<int>((static_cast<int64_t>(stick) + 1) % 2);
            break;
        }
        default:
            return;
    }
    p_PlaySFX(99, 1, 1, 0);
}

void c_MyApp::OptionClose() {
    optionsOpen = 0;
    p_PlaySFX(99, 1, 1, 0);
    p_Save();
    inputLatch = waitRelease = 1;
}

int c_MyApp::p_OptionBox() {
    bool held = pointerDown != 0;
    for (int action : kLatchActions) held = held || p_PlayKeyAll(action, 1) != 0;
    if (!held) optionsLatch = 0;
    const bool input = optionsOpen == 1 && optionsLatch == 0;

    if (input) {
        const bool back = p_PlayKeyAll(99, 1) != 0;
        const bool closeKey =
            p_PlayKeyAll(10, 1) != 0 || p_PlayKeyAll(11, 1) != 0 || p_PlayKeyAll(15, 1) != 0;
        bool select = false;
        for (int action = 10; action <= 15; ++action) select = select || p_PlayKeyAll(action, 1) != 0;
        if (back || (optionItem == 0 && closeKey)) {
            optionsLatch = 1;
            OptionClose();
        } else if (p_PlayKeyAll(0, 1) != 0 || p_PlayKeyAll(3, 1) != 0) {
            optionsLatch = 1;
            if (optionItem > 0) {
                --optionItem;
                p_PlaySFX(99, 1, 1, 0);
            }
        } else if (p_PlayKeyAll(8, 1) != 0 || p_PlayKeyAll(5, 1) != 0) {
            optionsLatch = 1;
            if (optionItem < kLastItem) {
                ++optionItem;
                p_PlaySFX(99, 1, 1, 0);
            }
        } else if (select) {
            optionsLatch = 1;
            OptionSelect(optionItem);
        }
    }

    // Drawing: a shade over the screen, then one band and line per item. The
    // sound line (item 1) rests at y = 130; "<[BACK]" sits above it.
    const float slide = static_cast<float>(optionsSlide);
    const float soundY = optionsSlide >= 30 ? 130.0f : 850.0f - 24.0f * slide;
    p_ResetDraw();
    p_SetCol(0, 0, 0, 0.6f * slide / 30.0f);
    p_Rect(-1, -1, vscrw + 2, vscrh + 2);

    int touched = -1;
    for (int item = 0; item <= kLastItem; ++item) {
        const float y = soundY + kLineGap * static_cast<float>(item - 1);
        if (item == optionItem)
            p_SetCol(0, 180, 255, 0.5f);
        else
            p_SetCol(0, 0, 160, 0.5f);
        if (p_Touch(y - 12.0f, vscrw - 168.0f)) touched = item;
        p_SetCol(255, 255, 255, 1.0f);
        p_SetSize(2.0f);
        p_Text(kTextX, y, OptionLine(item), 0, 1, 0);
        p_SetSize(1.0f);
    }
    p_ResetDraw();

    if (input && optionsLatch == 0 && touched >= 0) {
        optionsLatch = 1;
        optionItem = touched;
        if (touched == 0)
            OptionClose();
        else
            OptionSelect(touched);
    }
    return 0;
}
