// c_MyApp: the game. One application object, driven by the framework's
// callbacks (p_OnCreate once, p_OnUpdate at 60 per second, p_OnRender once
// per displayed frame), holding every piece of game state in flat fields and
// fixed-size arrays allocated once by InitFields().
//
// Index of the files that implement it (one concern each):
//   app_object.cpp     construction, defaults, mark()
//   shell_*.cpp        create, update order, render and scaling, suspend
//   draw_*.cpp         display list, draw state, replay, bitmap text, values
//   assets_*.cpp       image bank, loader steps, loader screen
//   sound.cpp          effect bank, channels, random groups, the tune
//   controls_*.cpp     action table, iCade, steering, pointer tests
//   effects_*.cpp      background, star field, particles
//   level_*.cpp        level construction, turning helper
//   play_*.cpp         the gameplay update, pickups, home and countdown
//   menu_*.cpp         title screen, wheel, credits, options box, full screen
//   save_*.cpp         save string, badges
//   end_*.cpp          pause screen, level complete, banner, placing
//   stats_ping.cpp     the statistics request
//   replay_*.cpp       state hash for recordings, the "REPLAY" mark
//
// Ownership and the collector
// - The object is collected and reachable from the root zq_app__app (and,
//   in tests, from the test's own root). The collector never scans the
//   stack, so every array, bank, string and request below is queued by
//   mark(), and every store of a collected reference into a field goes
//   through gc_assign. Nothing collected may live only in a local across a
//   call that can run a collector step (a window re-open releases held keys,
//   and each release is a guarded event followed by a collector step).
// - Arrays are created once by InitFields() at the sizes given and never
//   resized; per-frame work reuses them and allocates nothing.
//
// Units: positions in virtual pixels (screen) or world pixels (play field),
// angles in degrees clockwise from "up", durations in updates (60 per
// second), colours 0..255, alpha 0..1.
//
// Threading: main thread only. The HTTP completion arrives on the main
// thread through the asynchronous-event pump.
#pragma once

#include "audio/zq_audio.h"
#include "graphics/image.h"
#include "net/http_request.h"
#include "runtime/host/app.h"
#include "runtime/lang/array.h"
#include "runtime/lang/string.h"

class c_MyApp : public c_App, public virtual c_IOnHttpRequestComplete {
  public:
    // Registers the object as the application (c_App::m_new) and then sets
    // every field to its construction default (InitFields).
    c_MyApp* m_new();
    // Allocates the arrays and sets the construction defaults without
    // registering anything: the part of m_new that tests use on their own
    // objects.
    c_MyApp* InitFields();
    void mark() override;
    // Session recordings (replay_state.cpp): the hash of the state play
    // depends on, and the version of the rules and level data.
    uint64_t p_ReplayStateHash() override;
    uint32_t p_ReplayDataVersion() override;
    // A level's ending by its gameOverReason, as reports name it:
    // "complete" (2, 3, 4), "time" (7), "bugs" (8), "quit" (-1), else "none".
    static const char* m_EndingName(int gameOverReason);

    // ---------------------------------------------------------------- shell
    void p_OnCreate() override;
    void p_OnUpdate() override;
    void p_OnRender() override;
    void p_OnSuspend() override;
    void p_OnResume() override;
    void p_InGame();
    // Steps of p_OnUpdate / p_OnRender (shell_*.cpp).
    void SamplePointer();  // update step 6
    void LatchActions();   // update step 7
    void RunScreen();      // update step 8: sound, dispatch, overlays, panels
    void SlidePanels();    // the options box and credits panel slides
    // The virtual screen (scale, vscrw, vscrh) for the device size, at the
    // start of every update; false for a device without area.
    bool ApplyScale(int w, int h);
    // Instantaneous and averaged calls per second of a callback (update step 5).
    static void MeasureRate(int& millis, int& fps, int& average);

    // Screen, window and timing.
    int screenMode = 0;  // 1 menu, 2 back to menu, 10 playing, 11 level start
    int inputKind = 0;   // 0 keyboard, 1 pad, 2 pointer: picks button glyphs
    int fullscreenState = 0;
    int lastDeviceWidth = 0;  // device pixels seen by the last update
    int lastDeviceHeight = 0;
    int loaderStage = 0;   // > 0: the loader runs instead of the screen
    int currentLevel = 0;  // the level played and whose results are shown (1..100)
    int loopIndex = 0;     // shared loop counter; no value survives a method
    int renderMillis = 0, renderFps = 0, renderFpsAverage = 0;  // ms, per second
    int updateMillis = 0, updateFps = 0, updateFpsAverage = 0;
    float scaleX = 1.0f, scaleY = 1.0f;  // virtual to device pixels; start at 1
    int isLandscape = 1;                 // 1 when vscrh <= vscrw
    int hudHidden = 0;                   // F2
    int musicPlaying = 0;                // 1 while a tune started by p_PlayTune plays

    // Input as sampled by the shell each update (virtual pixels).
    int mouseX = 0, mouseY = 0;
    int pointerDown = 0;   // left button or any touch down
    Array<int> touchDown;  // 10; 1 while that touch is down
    Array<int> touchX;     // 10; -3717 while up
    Array<int> touchY;     // 10
    int waitRelease = 0;   // press latch cleared when the pointer is released
    int inputLatch = 0;    // press latch cleared when no action is held
    Array<int> padState;   // 20 virtual buttons: 0 up, 3 left, 5 right, 8 down, 10..17, 19 back
    int iCadeChar = 0;     // last character read in iCade mode

    // --------------------------------------------------- drawing and text
    int p_DrawImg(int slot, float x, float y, float frame);
    int p_Rect(float x, float y, float w, float h);
    int p_Oval(float x, float y, float rx, float ry);
    int p_Line(float x1, float y1, float x2, float y2);
    int p_SetCol(float r, float g, float b, float a = -3717.0f);
    int p_Alpha(float a);
    int p_SetSize(float sx, float sy = -3717.0f);
    int p_SetRot(float angle);
    int p_Ink(int colour, float brightness);
    int p_ResetDraw();
    int p_CLS2D(float r, float g, float b, float a);
    int p_Text(float x, float y, String text, float alignX, float alignY, int slotOffset);
    String p_rstr(int value, int width, String pad);
    String p_rstr(int value, String pad);  // width 11
    int p_Rand(float low, float high);
    int p_SeedRnd(int seed);
    // Replays the display list through the graphics front end (render only).
    void ReplayDisplayList(float sx, float sy, float marginX, float marginY);
    // Appends one record with the current draw state (refused when full).
    void AppendRecord(float kind, float x, float y, float e4, float e5, float frame);

    Array<float> displayList;  // 37500: records of 15 floats, at most 2499 used
    int displayListFill = 0;   // floats in use, a multiple of 15
    float drawScaleX = 1.0f, drawScaleY = 1.0f;
    float drawRotation = 0.0f;  // degrees, stored negated (p_SetRot)
    float drawRed = 255.0f, drawGreen = 255.0f, drawBlue = 255.0f;
    float drawAlpha = 1.0f;
    int drawBlend = 0;  // 1 after the first reset
    float clearRed = 0.0f, clearGreen = 0.0f, clearBlue = 0.0f, clearAlpha = 1.0f;
    float viewX = 0.0f, viewY = 0.0f, viewWidth = 640.0f, viewHeight = 480.0f;
    int fontSlot = 90;

    // --------------------------------------------------------------- assets
    int p_LoadImg(int slot, String name, int frameWidth, int frameHeight, int frameCount, int flags);
    int p_LoadFont(int slot, String name, int advance, int lineHeight);
    int p_ReserveImg(int slot, int width, int height);
    int p_Reload();
    int p_Loader();
    int p_WaitStart(int spinner);
    int p_BankLoad();
    // The resolution tier (hdLevel, imageScale) for the current device size.
    void ChooseTier();
    // The file of an image at the current tier: name + "", "-hd" or "-hd2" + ".png".
    String TierFileName(String name) const;
    void LoadIntoSlot(int slot, String name, int frameWidth, int frameHeight, int frameCount, int flags);
    void RunLoadStep(int step);  // one row of the asset table

    Array<c_Image*> images;   // 100 slots; a slot may be null
    Array<int> imageInfo;     // 300: frame width, height, count per slot (font: advance, line, 128)
    int hdLevel = 1;          // 1, 2 or 4: resolution tier of the loaded images
    float imageScale = 1.0f;  // 1 / hdLevel
    int logoJingleDone = 0;   // 1 once the logo sound played; never reset
    int loaderSize = 0;       // min(vscrw, vscrh), per loader frame
    int spinnerAngle = 0;     // degrees; +3 per loader frame
    int lastReservedSlot = 0;

    // ---------------------------------------------------------------- sound
    int p_LoadSFX(int id);
    int p_PlaySFX(int id, float rate, float volume, float pan);
    int p_SFXHandle();
    int p_PlayTune(String name, int flags);
    int p_StopTune();
    // Advances the sound mode (options box): stops or resumes the tune.
    void NextSoundMode();
    // The sound mode, settings[5]; a value outside 0..3 reads as 0 (off).
    int SoundMode() const;
    bool EffectsOn() const;  // modes 1 and 2
    bool MusicOn() const;    // modes 1 and 3
    void PlayRandomEffect(int first, float span, float rateBase, float rateSpread);

    Array<c_Sound*> sounds;  // 100 slots; a slot may be null
    Array<int> channelMap;   // 33: channel per effect slot, identity
    int sfxChannelCursor = 0;
    int sfxCountA = 0;  // pending group-A effects (ids 1..10), capped at 5
    int sfxCountB = 0;  // pending group-B effects (ids 11..20), capped at 5
    int sfxPairPending = 0;
    int sfxMarker = 0;
    String currentTune;  // base name of the last tune requested

    // ------------------------------------------------------------- controls
    int p_PlayKey(int action, int useStick, int pad);
    int p_PlayKeyAll(int action, int useStick);
    float p_StickY(int stick, int pad);
    int p_AnalogueControl();
    int p_iCade(int mode);
    // One iCade character: sets or clears its virtual button (A-Z, a-z only).
    void ApplyICadeChar(int c);
    // Reads the character queue in iCade mode (shell step 10).
    void PollICade();
    // Clears virtual buttons 0..18 (every one but the back key, 19, which the
    // shell refreshes from the key state each update).
    void ClearPadButtons();
    bool p_MouseIn(float x, float y, float w, float h);
    bool p_MouseIn_Centered(float x, float y, float w, float h);
    bool p_Touch(float x, float y, float w, float h);
    bool p_Touch(float y, float w);  // x 84, h 24: the options box's line
    bool p_Button(int image, float x, float y, int frame);
    // Whether pad's stick 0 passes an action's stick test (controls_actions.cpp).
    bool StickHeld(int test, int pad);
    // Whether any touch that is down satisfies test(x, y) (virtual pixels).
    template <class Test>
    bool AnyTouch(Test test);

    float steerX = 0.0f, steerY = 0.0f;        // -1..1, for the player's bug
    float keySteerX = 0.0f, keySteerY = 0.0f;  // keyboard ramps, -1..1
    int dragOriginX = -1, dragOriginY = 0;     // virtual pixels; x -1 while no pointer

    // -------------------------------------------------------------- effects
    int p_DoBG(int red, int green, int blue, float alpha);
    int p_ResetStars(int count);
    int p_DoStars(float dx, float dy);
    int p_ThrowParticle(float x, float y, int kind, int style, float angle, float speed);
    int p_DoParticles(float scale);

    float bgTargetRed = 0.0f, bgTargetGreen = 0.0f, bgTargetBlue = 0.0f;
    float bgRed = 0.0f, bgGreen = 0.0f, bgBlue = 0.0f;
    Array<float> stars;  // 5100: 10 floats per star
    int starLast = 100;
    Array<float> particles;  // 5100: 10 floats per particle; slot 0 kind (0 free)
    int particleLast = 250;

    // --------------------------------------------------------------- levels
    int p_LoadGame();
    int p_GetLevel(int level);
    static int m_WhichWayDoIGo(float current, float target, int lo, int hi);

    // ------------------------------------------------------------- gameplay
    int p_Game();
    // The steps of one p_Game, in its order (play_*.cpp).
    void PlanetPass(int pass);
    void DrawPlanetDisc(int i, float sx, float sy);
    void HomeRings(int i, float sx, float sy);
    void IntermediatePlanet(int i);
    void CollectPickup(int i);
    void SweepArms(int i, float sx, float sy, float nextAngle);
    void UpdateHazards();
    void UpdateFollowers();
    void UpdatePlayer();
    void EndOfUpdate();
    // Nine burst particles from a zapped or lost follower.
    void FollowerBurst(float x, float y);
    int pickupsCounted = 0;  // pickups present during this update's pass 1

    Array<float> player;     // 512 (slots in play_*.cpp and the class notes)
    Array<float> planets;    // 5100: 10 floats per planet
    Array<float> followers;  // 5100: 10 floats per follower
    Array<float> hazards;    // 10 floats per hazard; record 0 stays empty
    int planetCount = 0;
    int followerLast = 0;
    int hazardLast = 0;
    int armStep = 24;
    int timeLeft = 0;        // updates left on the countdown
    int gameOver = 0;        // 1 once the level has ended
    int gameOverReason = 0;  // 2, 3, 4 complete; 7 time; 8 bugs; -1 quit
    int aliveFollowers = 0;  // followers in state 1 this update
    float camX = 0.0f, camY = 0.0f, camTargetX = 0.0f, camTargetY = 0.0f;

    // ----------------------------------------------------- menus and options
    int p_Menu();
    int p_OptionBox();
    int p_FullscreenFlip();
    int p_LoadMenu();
    // lastResult clamped to 0..100, as it is stored.
    int RecordedResult() const;
    // The index at which `result` would enter level `level`'s top ten, or -1
    // when the list would not take it (or the level has no lists).
    int TopTenEntry(int level, int result) const;

    int menuColumn = 1;     // 0 gear, 1 wheel, 2 credits
    int selectedLevel = 0;  // 0..99
    int jumpToBest = 1;     // 1: next title frame jumps to the highest unlocked level
    int levelUnlocked = 0;
    int highestUnlocked = 0;  // highest unlocked level of the last unlock pass
    Array<int> unlockPoints;  // 2000
    int passMark = 25;
    float wheelTarget = -32.0f, wheelAngle = 0.0f, wheelVelocity = 0.0f;  // degrees
    int wheelBounced = 0;                   // 1 from an end-stop's push until the wheel is centred again
    int menuIntro = -32;                    // title slide-in counter, counts up to 0
    int keyRepeat = 50;                     // wheel key-repeat countdown, updates
    int keyRepeatDelay = 30;                // the next repeat's delay, updates
    int optionsOpen = 0, optionsSlide = 0;  // slide 0..30
    int optionItem = 0;
    int optionsLatch = 0;    // the box's own press latch
    float gearAngle = 0.0f;  // degrees
    int creditsOpen = 0;
    float creditsSlide = 0.0f;   // virtual pixels
    float creditsScroll = 0.0f;  // pixels scrolled within the current line
    int creditsLine = 0;         // first visible CreditText line
    int wheelDragY = -3717;      // pointer y of the last wheel-drag frame; -3717 while not dragging

    // Title-screen steps (menu_*.cpp), in the order p_Menu runs them.
    void MenuUnlockRule();
    void MenuColumnInput(float panelX, float centreX, float centreY);
    void MenuWheelKeys();
    void MenuWheelMotion(float centreX, float centreY);
    void MenuWheelTouches(float centreX, float centreY);
    void MenuStartLevel();
    void MenuDrawWheel(float centreX, float centreY);
    void MenuDrawGear(float centreX, float centreY);
    void MenuResultsPanel(float x);
    void MenuCredits(float panelOffset);
    // The options box's line `item` (0 "<[BACK]", 1 sound ... 5 right stick).
    String OptionLine(int item);
    void OptionSelect(int item);
    void OptionClose();

    // ---------------------------------------------------------------- saving
    int p_Save();
    int p_Load();
    String p_BadgeID(int id);
    String p_BadgeName(int id);
    String p_BadgeDetail(int id);
    int p_ShowBadges();
    int p_GC_PostScore(int score, int board);
    int p_GC_Badges();

    Array<int> settings;         // 25 saved settings; 5 sound mode, 15/16 stick Y
    Array<bool> badges;          // 256 earned flags
    Array<int> scores;           // 5000: best ten at (L-1)*10, last ten at 1000+(L-1)*10
    Array<int> badgeToastId;     // 15
    Array<int> badgeToastTimer;  // 15; 0 = slot free

    // The save string of the current settings, badges and scores, and its
    // reverse (p_Save and p_Load without the store).
    String SaveString();
    void RestoreSaveString(String state);

    // ---------------------------------------------------------------- endings
    int p_PauseMenu();
    int p_LevelComplete();
    int p_GameOver();
    String p_MyNth();

    int paused = 0, pauseDir = -1, pauseSlide = -64, pauseItem = 0;
    float orbitRadius = 0.0f, orbitSpeed = 0.0f;
    int lastResult = 0;         // percent, 0..100
    int shownResult = 0;        // eases towards lastResult
    int bannerTimer = 0;        // updates
    int newRank = 0;            // 1..10 placing in the top ten, or 0
    float completeFade = 0.0f;  // level-complete fade, 0..130
    String placingText;         // placing of the level just played
    // The pause figure: the outer and inner arm angles (degrees), the last
    // 101 points of its pen as (x, y) pairs in a ring, the ring's next slot
    // and how many points it holds (0..101).
    float orbitOuterAngle = 0.0f, orbitInnerAngle = 0.0f;
    Array<float> orbitTrail;  // 202
    int orbitTrailHead = 0, orbitTrailCount = 0;
    float pauseGearAngle = 0.0f;  // degrees; +0.2 per update while the options are closed

    // --------------------------------------------------------- statistics ping
    int p_GetURL(String url, String query);
    void p_OnHttpRequestComplete(c_HttpRequest* request) override;

    c_HttpRequest* statsRequest = nullptr;
    int statsDone = 0;
    String statsResponse;  // "N/A" until a response arrives
};

// Game-module globals (game/globals.cpp), with their values at start.
extern int GameNum;             // 415
extern int DebugMode;           // 0; F1 toggles it for the run
extern int UseHDImages;         // 1
extern float overscan;          // 0: device pixels kept free round the picture
extern float vscrw, vscrh;      // 640, 480: virtual screen, recomputed each update
extern float rawscrw, rawscrh;  // 640, 480: design size
extern Array<String> CreditText;
extern int HasMusicStream;         // 1
extern int iCadeControls;          // 0
extern int OnScreenControls;       // 0
extern int AccelerometerControls;  // 0
extern int Stats_Able;             // 0
extern int Stats_Allow;            // 0
extern String Stats_Endpoint;      // where the statistics request goes (an .invalid host)
extern int isConsole;              // 0
