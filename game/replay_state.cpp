// What a session recording checks of the game: the hash of the state that
// play depends on (taken at every checkpoint, every 60 updates), and the
// version of the rules and level data that recordings are made under.
//
// Hashed: every field and array a later update reads (screens, input
// latches, draw state the logic reads back, gameplay records, menus,
// endings, saved tables, the random seed and the game-module globals that
// change during play). Not hashed: what only the render touches (its rate
// measurement), the display list (output, rebuilt every update), image and
// sound banks (loaded from the data folder), the statistics request.
// Hazard records are hashed up to hazardLast only: the store is sized for
// far more than a level uses, and the rest stays empty.
//
// Cost: about 30,000 words per hash, a few tens of microseconds.
#include <cstring>

#include "game/my_app.h"
#include "runtime/lang/random.h"

namespace {

// The data version: raise it whenever a rule or the level generation
// changes on purpose, so that recordings made before say so instead of
// differing at a checkpoint (and re-record the corpus, tests/replays/).
constexpr uint32_t kDataVersion = 1;

// 64-bit FNV-1a over 32-bit words.
class StateHash {
  public:
    void Word(uint32_t w) { h_ = (h_ ^ w) * 0x100000001B3ull; }
    void Int(int v) { Word(static_cast<uint32_t>(v)); }
    void Float(float f) {
        uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        Word(bits);
    }
    template <class... T>
    void Ints(T... v) {
        (Int(v), ...);
    }
    template <class... T>
    void Floats(T... v) {
        (Float(v), ...);
    }
    void Ints(const Array<int>& a, int count = -1) {
        int n = count < 0 || count > a.Length() ? a.Length() : count;
        Int(n);
        for (int i = 0; i < n; ++i) Int(a[i]);
    }
    void Floats(const Array<float>& a, int count = -1) {
        int n = count < 0 || count > a.Length() ? a.Length() : count;
        Int(n);
        for (int i = 0; i < n; ++i) Float(a[i]);
    }
    void Bools(const Array<bool>& a) {
        Int(a.Length());
        for (int i = 0; i < a.Length(); ++i) Int(a[i] ? 1 : 0);
    }
    void Text(const String& s) {
        Int(s.Length());
        for (int i = 0; i < s.Length(); ++i) Int(s[i]);
    }
    uint64_t value() const { return h_; }

  private:
    uint64_t h_ = 0xCBF29CE484222325ull;
};

}  // namespace

const char* c_MyApp::m_EndingName(int gameOverReason) {
    switch (gameOverReason) {
        case 2:
        case 3:
        case 4:
            return "complete";
        case 7:
            return "time";
        case 8:
            return "bugs";
        case -1:
            return "quit";
        default:
            return "none";
    }
}

uint32_t c_MyApp::p_ReplayDataVersion() {
    return kDataVersion;
}

uint64_t c_MyApp::p_ReplayStateHash() {
    StateHash h;
    // Shell, window, timing and sampled input.
    h.Ints(screenMode, inputKind, fullscreenState, lastDeviceWidth, lastDeviceHeight, loaderStage,
           currentLevel, updateMillis, updateFps, updateFpsAverage, isLandscape, hudHidden, musicPlaying,
           mouseX, mouseY, pointerDown, waitRelease, inputLatch, iCadeChar);
    h.Floats(scaleX, scaleY);
    h.Ints(touchDown);
    h.Ints(touchX);
    h.Ints(touchY);
    h.Ints(padState);
    // Draw state (the pause button's touch area reads the draw scale back).
    h.Floats(drawScaleX, drawScaleY, drawRotation, drawRed, drawGreen, drawBlue, drawAlpha, clearRed,
             clearGreen, clearBlue, clearAlpha, viewX, viewY, viewWidth, viewHeight);
    h.Ints(drawBlend, fontSlot);
    // Assets and sound bookkeeping.
    h.Ints(imageInfo);
    h.Ints(hdLevel, logoJingleDone, loaderSize, spinnerAngle, lastReservedSlot, sfxChannelCursor, sfxCountA,
           sfxCountB, sfxPairPending, sfxMarker);
    h.Float(imageScale);
    h.Text(currentTune);
    // Controls and effects.
    h.Floats(steerX, steerY, keySteerX, keySteerY, bgTargetRed, bgTargetGreen, bgTargetBlue, bgRed, bgGreen,
             bgBlue);
    h.Ints(dragOriginX, dragOriginY, starLast, particleLast);
    h.Floats(stars);
    h.Floats(particles);
    // Gameplay.
    h.Ints(pickupsCounted, planetCount, followerLast, hazardLast, armStep, timeLeft, gameOver, gameOverReason,
           aliveFollowers);
    h.Floats(camX, camY, camTargetX, camTargetY);
    h.Floats(player);
    h.Floats(planets);
    h.Floats(followers);
    h.Floats(hazards, (hazardLast + 1) * 10);
    // Menus and options.
    h.Ints(menuColumn, selectedLevel, jumpToBest, levelUnlocked, highestUnlocked, passMark, menuIntro,
           keyRepeat, keyRepeatDelay, optionsOpen, optionsSlide, optionItem, optionsLatch, creditsOpen,
           creditsLine, wheelDragY);
    h.Floats(wheelTarget, wheelAngle, wheelVelocity, gearAngle, creditsSlide, creditsScroll);
    h.Ints(unlockPoints);
    // Endings and the pause screen.
    h.Ints(paused, pauseDir, pauseSlide, pauseItem, lastResult, shownResult, bannerTimer, newRank,
           orbitTrailHead, orbitTrailCount);
    h.Floats(orbitRadius, orbitSpeed, completeFade, orbitOuterAngle, orbitInnerAngle, pauseGearAngle);
    h.Floats(orbitTrail);
    h.Text(placingText);
    // Saved tables.
    h.Ints(settings);
    h.Bools(badges);
    h.Ints(scores);
    h.Ints(badgeToastId);
    h.Ints(badgeToastTimer);
    // The shared random generator and the globals that change during play.
    h.Ints(zq_random_Seed, DebugMode, iCadeControls);
    h.Floats(overscan, vscrw, vscrh);
    return h.value();
}
