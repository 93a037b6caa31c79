// The image bank: the resolution tier, and loading images, the font and
// blank images into the 100 numbered slots.
//
// Images exist at three tiers (base name, "-hd", "-hd2"); frame sizes are
// given at tier 1 and multiplied by hdLevel, and imageScale (1 / hdLevel)
// brings them back to virtual size when drawn. imageInfo keeps three ints
// per slot, filled even when a load fails (the slot then stays null and
// every drawing of it is skipped).
//
// Slots outside 0..99 are ignored. Without a render device (the headless
// test host) nothing is loaded and the slot stays null.
//
// A file whose picture cannot hold the frames asked of it (a damaged or
// replaced data file) counts as unreadable: its slot stays null and one
// line on the console names it, so one bad file costs its picture, not the
// game.
#include "game/my_app.h"
#include "graphics/tvx_graphics.h"
#include "graphics/zq_graphics.h"
#include "runtime/host/zq_app.h"
#include "runtime/lang/datapath.h"
#include "runtime/lang/errors.h"

namespace {

constexpr int kImageSlots = 100;
constexpr int kFontCell = 16;  // font cells at tier 1, pixels
constexpr int kFontGlyphs = 128;
// Windows larger than these (either side) take the next tier.
constexpr int kTier2Above = 630, kTier4Above = 1230;

bool ValidSlot(int slot) {
    return slot >= 0 && slot < kImageSlots;
}

// The frames of an image file cut as zq_graphics_LoadImage2 cuts them, or
// null when the file is missing, undecodable or too small for the frames.
c_Image* LoadFramedImage(String path, int frameWidth, int frameHeight, int frameCount, int flags) {
    tvxSurface* surface = zq_graphics_device->LoadSurface(zq_data_FixDataPath(path));
    if (!surface) return nullptr;
    const int w = surface->Width(), h = surface->Height();
    if (!c_Image::m_FramesFit(0, 0, frameWidth, frameHeight, frameCount, w, h)) {
        zqPrint(String("Image frames do not fit its file, slot left empty: ") + path);
        return nullptr;
    }
    return gc_new<c_Image>()->m_new()->p_Init2(surface, 0, 0, frameWidth, frameHeight, frameCount, flags,
                                               nullptr, 0, 0, w, h);
}

}  // namespace

void c_MyApp::ChooseTier() {
    int w = zq_app_DeviceWidth(), h = zq_app_DeviceHeight();
    hdLevel = 1;
    imageScale = 1.0f;
    if (UseHDImages != 1) return;
    if (w > kTier2Above || h > kTier2Above) {
        hdLevel = 2;
        imageScale = 0.5f;
    }
    if (w > kTier4Above || h > kTier4Above) {
        hdLevel = 4;
        imageScale = 0.25f;
    }
}

String c_MyApp::TierFileName(String name) const {
    if (hdLevel == 2) return name + "-hd.png";
    if (hdLevel == 4) return name + "-hd2.png";
    return name + ".png";
}

// Empties the slot, then stores the frames of the tier's file (or null).
void c_MyApp::LoadIntoSlot(int slot, String name, int frameWidth, int frameHeight, int frameCount,
                           int flags) {
    gc_assign(images[slot], static_cast<c_Image*>(nullptr));
    if (!zq_graphics_device) return;
    gc_assign(images[slot], LoadFramedImage(TierFileName(name), frameWidth * hdLevel, frameHeight * hdLevel,
                                            frameCount, flags));
}

int c_MyApp::p_LoadImg(int slot, String name, int frameWidth, int frameHeight, int frameCount, int flags) {
    if (!ValidSlot(slot)) return 0;
    LoadIntoSlot(slot, name, frameWidth, frameHeight, frameCount, flags);
    imageInfo[slot * 3] = frameWidth * hdLevel;
    imageInfo[slot * 3 + 1] = frameHeight * hdLevel;
    imageInfo[slot * 3 + 2] = frameCount;
    return 0;
}

int c_MyApp::p_LoadFont(int slot, String name, int advance, int lineHeight) {
    if (!ValidSlot(slot)) return 0;
    LoadIntoSlot(slot, name, kFontCell, kFontCell, kFontGlyphs, c_Image::CentreHandle);
    // Text metrics are virtual pixels: the same at every tier.
    imageInfo[slot * 3] = advance;
    imageInfo[slot * 3 + 1] = lineHeight;
    imageInfo[slot * 3 + 2] = kFontGlyphs;
    fontSlot = slot;
    return 0;
}

int c_MyApp::p_ReserveImg(int slot, int width, int height) {
    if (!ValidSlot(slot)) return 0;
    gc_assign(images[slot], static_cast<c_Image*>(nullptr));
    if (zq_graphics_device)
        gc_assign(images[slot], zq_graphics_CreateImage(width, height, 1, c_Image::CentreHandle));
    imageInfo[slot * 3] = width;
    imageInfo[slot * 3 + 1] = height;
    imageInfo[slot * 3 + 2] = 1;
    lastReservedSlot = slot;
    return 0;
}

int c_MyApp::p_Reload() {
    clearRed = clearGreen = clearBlue = 0.0f;
    clearAlpha = 1.0f;
    ChooseTier();
    // The loader screen's own pictures, there before its first frame.
    p_LoadImg(93, String("common/MakerLogo"), 256, 256, 1, c_Image::CentreHandle);
    p_LoadFont(90, String("fonts/shadow_pixel"), 7, 10);
    loaderStage = 1;
    return 0;
}
