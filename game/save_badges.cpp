// Badges: the catalogue of names and details, the notification strip, and
// the hooks of an online score service (none is connected: they do nothing).
//
// No game event awards a badge or fills a notification slot, so the strip
// only shows what a slot holds if something ever fills one; the flags are
// loaded, saved and cleared with the saved data. Main thread only.
#include "game/my_app.h"

namespace {

constexpr int kToastSlots = 13;      // slots walked by the strip (of 15 stored)
constexpr int kToastLifetime = 240;  // updates a notification stays up
constexpr int kToastSlide = 20;      // updates to slide in and out

}  // namespace

String c_MyApp::p_BadgeID(int id) {
    if (id == 0) return String("Test Badge|This is a Test Badge which has no purpose.");
    return String("Odd Badge|This badge hasn't been defined!");
}

String c_MyApp::p_BadgeName(int id) {
    String entry = p_BadgeID(id);
    return entry.Slice(0, entry.Find(String("|")));
}

String c_MyApp::p_BadgeDetail(int id) {
    String entry = p_BadgeID(id);
    return entry.Slice(entry.Find(String("|")) + 1);
}

// Each live notification ages by one update and is drawn as a band at the
// top right: the badge picture (image slot 80, one frame per badge) and its
// name, sliding in from the right edge and out again.
int c_MyApp::p_ShowBadges() {
    bool drew = false;
    for (int slot = 0; slot < kToastSlots; ++slot) {
        int age = badgeToastTimer[slot];
        if (age <= 0) continue;
        badgeToastTimer[slot] = age >= kToastLifetime ? 0 : age + 1;

        int in = age < kToastSlide
                     ? age
                     : (kToastLifetime - age < kToastSlide ? kToastLifetime - age : kToastSlide);
        float shown = static_cast<float>(in) / kToastSlide;  // 0 hidden .. 1 fully in
        float x = vscrw - 200.0f * shown;
        float y = 8.0f + 40.0f * slot;
        drew = true;
        p_ResetDraw();
        p_SetCol(0, 0, 0, 0.6f);
        p_Rect(x, y, 200.0f, 36.0f);
        p_SetCol(255, 255, 255, 1.0f);
        p_SetSize(0.5f);
        p_DrawImg(80, x + 20.0f, y + 18.0f, static_cast<float>(badgeToastId[slot] & 63));
        p_SetSize(1.0f);
        p_Text(x + 40.0f, y + 18.0f, p_BadgeName(badgeToastId[slot]), 0, 1, 0);
    }
    if (drew) p_ResetDraw();
    return 0;
}

int c_MyApp::p_GC_PostScore(int, int) {
    return 0;
}

int c_MyApp::p_GC_Badges() {
    return 0;
}
