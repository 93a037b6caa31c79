// Placeholder bodies, replaced as gameplay lands (issue: playing a level).
#include "game/my_app.h"

int c_MyApp::p_DoBG(int, int, int, float) {
    return 0;
}
int c_MyApp::p_ResetStars(int) {
    return 0;
}
int c_MyApp::p_DoStars(float, float) {
    return 0;
}
int c_MyApp::p_ThrowParticle(float, float, int, int, float, float) {
    return 0;
}
int c_MyApp::p_DoParticles(float) {
    return 0;
}
int c_MyApp::p_LoadGame() {
    return 0;
}
int c_MyApp::p_GetLevel(int) {
    return 0;
}
int c_MyApp::m_WhichWayDoIGo(float, float, int, int) {
    return 0;
}
int c_MyApp::p_Game() {
    return 0;
}
