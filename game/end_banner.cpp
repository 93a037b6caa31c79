// The ending banner that every way out of a level shows (two words that
// sweep in over the play field, bars, and a "New Highscore" placing), and the
// placing text itself.
//
// Timing: the banner grows by one per update during the ending (screen 10);
// once it passes 89 the shell's results screen (2) records the result and
// the title screen takes over, where the banner shrinks by two per update.
//
// The placing is worked out for the level just played while the ending runs
// and kept in placingText / newRank: once the result is recorded the title
// screen moves the wheel on, and currentLevel then names another level.
// Main thread only.
#include <algorithm>

#include "game/my_app.h"

namespace {

constexpr int kEndingScreen = 10;
constexpr int kResultsScreen = 2;
constexpr int kBannerLength = 89;  // the ending hands over once the timer passes this
constexpr int kTitleBannerStart = 75;
constexpr int kHoldKeyRepeat = 240;  // updates: no wheel repeat while the banner shows

struct BannerWords {
    const char16_t* first;
    const char16_t* second;
};

BannerWords WordsFor(int reason) {
    switch (reason) {
        case 2:
            return {u"Level", u"Fail"};
        case 3:
            return {u"Level", u"Complete"};
        case 4:
            return {u"Awesome", u"Result"};
        case 7:
            return {u"Out of", u"Time"};
        case 8:
            return {u"Out of", u"Bugs"};
        case -1:
            return {u"Quit", u"Game"};
        default:
            return {u"GAME", u"OVER"};
    }
}

const char16_t* const kPlacings[] = {u"1st!", u"2nd", u"3rd", u"4th", u"5th",
                                     u"6th",  u"7th", u"8th", u"9th", u"10th"};

}  // namespace

String c_MyApp::p_MyNth() {
    // A placing only for a result that the top ten really takes (p_LoadMenu
    // enters it before the first strictly lower entry): a result equal to
    // every entry it would pass, or to the tenth of a full list, is not
    // entered, and announcing it would report a success that never happens.
    // So a result of 0 (every failure and quit) never places on sane lists.
    // Where it is entered, it places at the first entry it equals or beats:
    // 50 against 80, 50, 50, 20 is entered after both 50s but shows "2nd".
    newRank = 0;
    const int result = RecordedResult();
    if (TopTenEntry(currentLevel, result) >= 0) {
        const int first = (currentLevel - 1) * 10;
        for (loopIndex = 0; loopIndex < 10; ++loopIndex) {
            if (result >= scores[first + loopIndex]) {
                newRank = loopIndex + 1;
                break;
            }
        }
    }
    return newRank >= 1 ? String(kPlacings[newRank - 1]) : String();
}

int c_MyApp::p_GameOver() {
    if (screenMode >= kEndingScreen) placingText = p_MyNth();

    if (bannerTimer >= 1) {
        keyRepeat = kHoldKeyRepeat;
        waitRelease = 1;
        inputLatch = 1;

        p_ResetDraw();
        p_SetCol(0, 0, 0, std::min(bannerTimer / 40.0f, 0.7f));
        p_Rect(-1, -1, vscrw + 2, vscrh + 2);

        const float length = std::min(12.0f * bannerTimer, 0.45f * vscrh);
        p_SetCol(255, 255, 255, 0.5f);
        p_Rect(0, 0.45f * vscrh - 8, 2 * length, 16);
        p_SetCol(255, 128, 0, 0.5f);
        p_Rect(vscrw - (2 * length + 1), 0.55f * vscrh - 8, 2 * length + 1, 16);

        const BannerWords words = WordsFor(gameOverReason);
        p_SetSize(4);
        p_SetCol(255, 180, 180, 1);
        p_Text(0.35f * vscrw, length, String(words.first), 1, 1, 0);
        p_Text(0.65f * vscrw, vscrh - length, String(words.second), 1, 1, 0);

        if (newRank >= 1) {
            p_SetSize(1);
            p_SetCol(0, 125, 255, 0.5f);
            p_Rect(0.35f * vscrw, vscrh - length / 1.5f - 16, 0.3f * vscrw, 32);
            // The second line starts with eleven spaces; "\n" is the text
            // writer's two-character line-break mark.
            p_SetSize(2);
            p_SetCol(100, 255, 100, 1);
            p_Text(vscrw / 2, vscrh - length / 1.5f, String(u"New Highscore\\n           ") + placingText,
                   0.5f, 2, 0);
        }
        p_ResetDraw();
    }

    if (screenMode >= kEndingScreen) {
        ++bannerTimer;
        if (bannerTimer > kBannerLength) {
            screenMode = kResultsScreen;
            bannerTimer = kTitleBannerStart;
            p_StopTune();
        }
    } else {
        bannerTimer = std::max(bannerTimer - 2, 0);
    }
    return 0;
}
