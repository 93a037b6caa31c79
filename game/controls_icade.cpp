// The iCade mapping: a controller that reports each button press and each
// release as a letter. Each letter sets its virtual button to 2 (held) or
// 0 (released); upper and lower case act alike. Only A-Z and a-z are looked
// up: cursor keys (65536 + code), Delete (127) and anything else are ignored.
#include "game/my_app.h"
#include "input/zq_input.h"

namespace {

// Per letter A..Z: the virtual button and whether the letter presses it
// (true) or releases it (false); button -1: the letter means nothing.
struct Mapping {
    int button;
    bool press;
};

constexpr Mapping kLetters[26] = {
    {3, true},    // A press left
    {-1, false},  // B
    {5, false},   // C release right
    {5, true},    // D press right
    {0, false},   // E release up
    {14, false},  // F
    {16, false},  // G
    {10, true},   // H
    {15, true},   // I
    {11, true},   // J
    {12, true},   // K
    {17, true},   // L
    {15, false},  // M
    {11, false},  // N
    {16, true},   // O
    {12, false},  // P
    {3, false},   // Q release left
    {10, false},  // R
    {-1, false},  // S
    {13, false},  // T
    {14, true},   // U
    {17, false},  // V
    {0, true},    // W press up
    {8, true},    // X press down
    {13, true},   // Y
    {8, false},   // Z release down
};

constexpr int kHeld = 2;

}  // namespace

void c_MyApp::ApplyICadeChar(int c) {
    if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
    if (c < 'A' || c > 'Z') return;
    const Mapping& m = kLetters[c - 'A'];
    if (m.button >= 0) padState[m.button] = m.press ? kHeld : 0;
}

namespace {

// Reads the character queue until it is empty (or a 0 is read), leaving the
// last character read in `last`; `apply` acts on each positive one.
template <class Apply>
void ReadCharacterQueue(int& last, Apply apply) {
    do {
        last = zq_input_GetChar();
        if (last > 0) apply(last);
    } while (last != 0);
}

}  // namespace

void c_MyApp::PollICade() {
    ReadCharacterQueue(iCadeChar, [this](int c) { ApplyICadeChar(c); });
}

void c_MyApp::ClearPadButtons() {
    for (int i = 0; i <= 18; ++i) padState[i] = 0;
}

int c_MyApp::p_iCade(int mode) {
    if (mode == 1) {
        zq_input_EnableKeyboard();  // typed characters are queued from now on
        iCadeControls = 1;
        // Whatever was typed before counts for nothing.
        ReadCharacterQueue(iCadeChar, [](int) {});
    } else if (mode == 0) {
        zq_input_DisableKeyboard();
        iCadeControls = 0;
        ClearPadButtons();
    }
    return 0;
}
