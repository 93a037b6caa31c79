// Placeholder bodies, replaced as the endings land (issue: endings and the
// whole game).
#include "game/my_app.h"

int c_MyApp::p_PauseMenu() {
    return 0;
}
int c_MyApp::p_LevelComplete() {
    return 0;
}
int c_MyApp::p_GameOver() {
    return 0;
}
String c_MyApp::p_MyNth() {
    return String();
}
int c_MyApp::p_GetURL(String, String) {
    return 0;
}
void c_MyApp::p_OnHttpRequestComplete(c_HttpRequest*) {}
