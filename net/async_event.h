// The asynchronous-event pump: event sources register once and are visited,
// in registration order, each time the game pumps (once per update).
//
// Main thread only. There is no removal: a source stays registered, and so
// reachable, for the rest of the run.
#pragma once

#include "runtime/lang/containers.h"
#include "runtime/lang/gc.h"

class c_IAsyncEventSource : public virtual gc_interface {
  public:
    // Delivers the completions that are ready.
    virtual void p_UpdateAsyncEvents() = 0;
};

// A stack of event sources.
class c_Stack3 : public c_StackBase<c_IAsyncEventSource*> {
  public:
    c_Stack3* m_new() { return this; }
    c_Stack3* m_new2(const Array<c_IAsyncEventSource*>& source) {
        InitFrom(source);
        return this;
    }
    // Identity.
    bool p_Equals(c_IAsyncEventSource* a, c_IAsyncEventSource* b) { return a == b; }
    bool p_Contains2(c_IAsyncEventSource* value) { return Contains(value); }
    void p_Push7(c_IAsyncEventSource* value) { Push(value); }
    void p_Push8(const Array<c_IAsyncEventSource*>& values, int offset, int count) {
        PushRange(values, offset, count);
    }
    void p_Push9(const Array<c_IAsyncEventSource*>& values, int offset) { PushFrom(values, offset); }
};

// Every registered source, in registration order (a collector root).
extern c_Stack3* zq_asyncevent__sources;
// The source being updated; null outside the pump (a collector root).
extern c_IAsyncEventSource* zq_asyncevent__current;

// Registers a source; "Async event source is already active" when it is.
void zq_asyncevent_AddAsyncEventSource(c_IAsyncEventSource* source);
// Updates every source in registration order. A call from inside an update
// (a completion handler pumping again) returns at once.
void zq_asyncevent_UpdateAsyncEvents();
