// c_App: registration of the one application object.
#include "runtime/host/app.h"

#include "runtime/host/game_delegate.h"
#include "runtime/host/zq_app.h"
#include "runtime/lang/errors.h"

c_App* c_App::m_new() {
    if (zq_app__app) zqError("App has already been created");
    gc_assign(zq_app__app, this);
    gc_assign(zq_app__delegate, gc_new<c_GameDelegate>()->m_new());
    zq_app__game->SetDelegate(zq_app__delegate);
    return this;
}

void c_App::p_OnClose() {
    zq_app_EndApp();
}

void c_App::p_OnBack() {
    zq_app_EndApp();
}
