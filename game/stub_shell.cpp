// Placeholder bodies, replaced as the shell layer lands (issue: first layer).
#include "game/my_app.h"

void c_MyApp::p_OnCreate() {}
void c_MyApp::p_OnUpdate() {}
void c_MyApp::p_OnRender() {}
void c_MyApp::p_OnSuspend() {}
void c_MyApp::p_OnResume() {}
void c_MyApp::p_InGame() {}
int c_MyApp::p_DrawImg(int, float, float, float) {
    return 0;
}
int c_MyApp::p_Rect(float, float, float, float) {
    return 0;
}
int c_MyApp::p_Oval(float, float, float, float) {
    return 0;
}
int c_MyApp::p_Line(float, float, float, float) {
    return 0;
}
int c_MyApp::p_SetCol(float, float, float, float) {
    return 0;
}
int c_MyApp::p_Alpha(float) {
    return 0;
}
int c_MyApp::p_SetSize(float, float) {
    return 0;
}
int c_MyApp::p_SetRot(float) {
    return 0;
}
int c_MyApp::p_Ink(int, float) {
    return 0;
}
int c_MyApp::p_ResetDraw() {
    return 0;
}
int c_MyApp::p_CLS2D(float, float, float, float) {
    return 0;
}
int c_MyApp::p_Text(float, float, String, float, float, int) {
    return 0;
}
String c_MyApp::p_rstr(int, int, String) {
    return String();
}
String c_MyApp::p_rstr(int, String) {
    return String();
}
int c_MyApp::p_Rand(float, float) {
    return 0;
}
int c_MyApp::p_SeedRnd(int) {
    return 0;
}
void c_MyApp::ReplayDisplayList(float, float, float, float) {}
int c_MyApp::p_LoadImg(int, String, int, int, int, int) {
    return 0;
}
int c_MyApp::p_LoadFont(int, String, int, int) {
    return 0;
}
int c_MyApp::p_ReserveImg(int, int, int) {
    return 0;
}
int c_MyApp::p_Reload() {
    return 0;
}
int c_MyApp::p_Loader() {
    return 0;
}
int c_MyApp::p_WaitStart(int) {
    return 0;
}
int c_MyApp::p_BankLoad() {
    return 0;
}
int c_MyApp::p_LoadSFX(int) {
    return 0;
}
int c_MyApp::p_PlaySFX(int, float, float, float) {
    return 0;
}
int c_MyApp::p_SFXHandle() {
    return 0;
}
int c_MyApp::p_PlayTune(String, int) {
    return 0;
}
int c_MyApp::p_StopTune() {
    return 0;
}
void c_MyApp::NextSoundMode() {}
int c_MyApp::p_PlayKey(int, int, int) {
    return 0;
}
int c_MyApp::p_PlayKeyAll(int, int) {
    return 0;
}
float c_MyApp::p_StickY(int, int) {
    return 0;
}
int c_MyApp::p_AnalogueControl() {
    return 0;
}
int c_MyApp::p_iCade(int) {
    return 0;
}
void c_MyApp::ApplyICadeChar(int) {}
void c_MyApp::PollICade() {}
bool c_MyApp::p_MouseIn(float, float, float, float) {
    return false;
}
bool c_MyApp::p_MouseIn_Centered(float, float, float, float) {
    return false;
}
bool c_MyApp::p_Touch(float, float, float, float) {
    return false;
}
bool c_MyApp::p_Touch(float, float) {
    return false;
}
bool c_MyApp::p_Button(int, float, float, int) {
    return false;
}
