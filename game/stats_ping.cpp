// The start-up statistics request: one HTTP GET announcing the game number,
// sent only when the module switch Stats_Allow is 1 (it is 0, and nothing
// sets it). Its completion is logged and remembered; it never changes what
// the player sees.
//
// The shell starts it at creation (p_OnCreate) with the endpoint of the
// game-module global Stats_Endpoint, a host under the reserved .invalid
// domain, which never resolves, so even a switch turned on by mistake
// contacts no real server.
//
// Threading: the request runs on the network workers; its completion comes
// back on the main thread through the asynchronous-event pump.
#include "game/my_app.h"
#include "runtime/lang/errors.h"
#include "runtime/lang/gc.h"

int c_MyApp::p_GetURL(String url, String query) {
    statsResponse = String("N/A");
    // Stored before it is sent: the field (marked by mark()) is what keeps
    // the request alive while it is in flight.
    gc_assign(statsRequest, gc_new<c_HttpRequest>()->m_new2(String("GET"), url + String("?") + query, this));
    statsRequest->p_Send();
    zqPrint(String("Requesting URL"));
    statsDone = 0;
    return 0;
}

void c_MyApp::p_OnHttpRequestComplete(c_HttpRequest* request) {
    if (request == nullptr || request != statsRequest) return;
    zqPrint(String("Http GET complete! ") + String(request->p_Status()));
    statsDone = 1;
    statsResponse = request->p_ResponseText();
    if (statsResponse.Length() > 0) Stats_Able = 1;
}
