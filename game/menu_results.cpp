// Per-level results: recording the result of the level just played in its
// two lists (p_LoadMenu, run once by the shell on the way back to the
// title), and the title screen's panel that shows them.
//
// scores holds, for level L (1..100), the best ten at (L - 1) * 10 .. + 9,
// best first, and the last ten at 1000 + (L - 1) * 10 .. + 9, newest first.
// Main thread.
#include "game/my_app.h"

namespace {

constexpr int kLastList = 1000;
constexpr int kLastLevel = 99;  // the wheel's last level (shown as 100)

}  // namespace

int c_MyApp::RecordedResult() const {
    return lastResult < 0 ? 0 : (lastResult > 100 ? 100 : lastResult);
}

// Best ten: a result goes in before the first strictly lower entry, so an
// equal result ranks below the older one, and one lower than or equal to
// all ten is not entered.
int c_MyApp::TopTenEntry(int level, int result) const {
    if (level < 1 || level > kLastLevel + 1) return -1;
    const int top = (level - 1) * 10;
    for (int i = 0; i < 10; ++i)
        if (scores[top + i] < result) return i;
    return -1;
}

int c_MyApp::p_LoadMenu() {
    const int level = currentLevel;
    const int result = RecordedResult();
    if (level >= 1 && level <= kLastLevel + 1) {
        const int top = (level - 1) * 10;
        const int entry = TopTenEntry(level, result);
        if (entry >= 0) {
            for (int k = 9; k > entry; --k) scores[top + k] = scores[top + k - 1];
            scores[top + entry] = result;
        }
        // Last ten: every result goes in first.
        const int last = kLastList + top;
        for (int k = 9; k > 0; --k) scores[last + k] = scores[last + k - 1];
        scores[last] = result;
    }
    if (result >= passMark) {
        // The wheel turns to the next level, but never past its last one.
        selectedLevel = selectedLevel + 1 > kLastLevel ? kLastLevel : selectedLevel + 1;
        wheelTarget = -32.0f * static_cast<float>(selectedLevel);
    }
    p_Save();
    return 0;
}

// The best and the last results of currentLevel as two lists, as many rows
// as fit in half the screen (1 to 10), each value right-aligned in 11
// characters.
void c_MyApp::MenuResultsPanel(float x) {
    const float lineHeight = static_cast<float>(imageInfo[fontSlot * 3 + 1]) * 1.5f;
    const float fit = (vscrh - 90.0f - vscrh / 2.0f) / lineHeight;  // +inf without a font
    const int rows = fit >= 10.0f ? 10 : (fit >= 1.0f ? static_cast<int>(fit) : 1);

    const String pad(" ");
    const String lineBreak("\\n");  // the text writer's two-character mark
    const int top = (currentLevel - 1) * 10;
    String best = rows == 1 ? String("Highscore") : String("Top ") + String(rows);
    String last = rows == 1 ? String("Last") : String("Last ") + String(rows);
    for (int k = 0; k < rows; ++k) {
        best += lineBreak + p_rstr(scores[top + k], pad);
        last += lineBreak + p_rstr(scores[kLastList + top + k], pad);
    }

    p_ResetDraw();
    p_SetSize(1.5f);
    p_SetCol(255, 200, 100);
    p_Text(x, 60.0f, best, 0, 0, 0);
    p_Text(x, vscrh / 2.0f + 20.0f, last, 0, 0, 0);
    p_ResetDraw();
}
