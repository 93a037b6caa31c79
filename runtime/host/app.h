// c_App: the base of the application class. A program defines one subclass
// (the game's c_MyApp), overrides the callbacks it needs and registers it
// with ZQ_APPLICATION (runtime/host/tolvar_game.h).
//
// Only one application object may exist: its m_new() registers it as
// zq_app__app and installs the framework delegate in the host. Collected;
// kept alive by the root zq_app__app. Main thread only.
#pragma once

#include <cstdint>

#include "runtime/lang/object.h"

class c_App : public Object {
  public:
    // The constructor step every application subclass runs: raises "App has
    // already been created" for a second application; otherwise registers
    // this object, creates the delegate and installs it in the host.
    c_App* m_new();

    virtual void p_OnCreate() {}
    virtual void p_OnSuspend() {}
    virtual void p_OnResume() {}
    virtual void p_OnUpdate() {}
    virtual void p_OnRender() {}

    // Session recordings (runtime/host/replay_*.h). The hash covers the
    // application's state that play depends on, so that a replay can tell
    // the first update where it departs from the recording; the data
    // version names the rules and level data a recording needs (a
    // recording replays only under the same data version). 0: not told.
    virtual uint64_t p_ReplayStateHash() { return 0; }
    virtual uint32_t p_ReplayDataVersion() { return 0; }

    // Called directly by the delegate; not meant to be overridden.
    void p_OnClose();  // ends the application
    void p_OnBack();   // ends the application
    void p_OnResize() {}
    void p_OnLoading() {}
};
