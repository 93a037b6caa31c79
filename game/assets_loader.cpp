// The loader: the asset table, run one step per update while loaderStage
// is above 0, with the loader screen drawn after every step.
//
// loaderStage counts 1..28 (the step to run next) and then 0; a full load
// takes 29 updates, the last only marking the end. The shell arms it at
// creation and after every device-size change, so all images are reloaded
// at the tier that suits the new size. Each step reads one to three files,
// so the loader screen keeps animating while it works.
#include "game/my_app.h"

namespace {

constexpr int kLastStep = 28;
constexpr int kLogoJingle = 96;

struct ImageRow {
    int step, slot;
    const char* name;
    int frameWidth, frameHeight, frames;  // tier-1 pixels
};

// Images by step, in load order; every image is drawn centred on its point.
constexpr ImageRow kImages[] = {
    {1, 97, "common/icons", 32, 32, 16},
    {2, 95, "common/Buttons", 64, 64, 16},
    {3, 94, "common/dpad", 32, 32, 16},
    {4, 93, "common/MakerLogo", 256, 256, 1},
    {6, 99, "menu", 256, 256, 4},
    {6, 98, "logo", 256, 128, 1},
    {7, 80, "BadgesA", 64, 64, 64},
    {7, 96, "parts", 8, 8, 256},
    {8, 85, "common/circle", 256, 256, 4},
    {8, 86, "common/light", 32, 32, 4},
    {9, 2, "gfx", 16, 16, 16},
    {10, 1, "gfxb", 16, 16, 16},
    {11, 3, "cube", 32, 32, 64},
    {12, 4, "bad", 32, 32, 64},
    {12, 9, "circle", 256, 256, 1},
};

// The sound loaded with each of steps 1..6 (0: none).
constexpr int kEarlySounds[] = {0, 96, 1, 98, 0, 99, 95};

}  // namespace

void c_MyApp::RunLoadStep(int step) {
    for (const ImageRow& row : kImages)
        if (row.step == step)
            p_LoadImg(row.slot, String(row.name), row.frameWidth, row.frameHeight, row.frames,
                      c_Image::CentreHandle);
    if (step >= 1 && step <= 6 && kEarlySounds[step] != 0) p_LoadSFX(kEarlySounds[step]);
    if (step == 1) p_ReserveImg(81, 2048, 2048);
    if (step == 4 && logoJingleDone == 0) {
        // Once per run: reloads after a resize stay silent.
        p_PlaySFX(kLogoJingle, 1.0f, 1.0f, 0.0f);
        logoJingleDone = 1;
    }
    if (step == 5) p_LoadFont(90, String("fonts/shadow_pixel"), 7, 10);
    // Steps 13..27 load the gameplay sounds two at a time, step 28 the last.
    if (step >= 13 && step <= 27) {
        p_LoadSFX(2 * step - 25);
        p_LoadSFX(2 * step - 24);
    }
    if (step == kLastStep) p_LoadSFX(31);
}

int c_MyApp::p_Loader() {
    ChooseTier();
    if (loaderStage > kLastStep) {
        loaderStage = 0;
    } else {
        RunLoadStep(loaderStage);
    }
    if (loaderStage > 0) ++loaderStage;
    p_WaitStart(1);
    return 0;
}

int c_MyApp::p_BankLoad() {
    return 0;
}
