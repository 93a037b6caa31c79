// Placeholder bodies, replaced as the title screen and saving land (issue:
// title screen, options, credits and saved data).
#include "game/credits_text.h"
#include "game/my_app.h"

Array<String> MakeCreditText() {
    return Array<String>();
}
int c_MyApp::p_Menu() {
    return 0;
}
int c_MyApp::p_OptionBox() {
    return 0;
}
int c_MyApp::p_FullscreenFlip() {
    return 0;
}
int c_MyApp::p_LoadMenu() {
    return 0;
}
int c_MyApp::p_Save() {
    return 0;
}
int c_MyApp::p_Load() {
    return 0;
}
String c_MyApp::p_BadgeID(int) {
    return String();
}
String c_MyApp::p_BadgeName(int) {
    return String();
}
String c_MyApp::p_BadgeDetail(int) {
    return String();
}
int c_MyApp::p_ShowBadges() {
    return 0;
}
int c_MyApp::p_GC_PostScore(int, int) {
    return 0;
}
int c_MyApp::p_GC_Badges() {
    return 0;
}
