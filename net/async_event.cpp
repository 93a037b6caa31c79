// The event-source registry and the pump.
#include "net/async_event.h"

#include "runtime/lang/errors.h"
#include "runtime/lang/init.h"

c_Stack3* zq_asyncevent__sources = nullptr;
GC_ROOT(zq_asyncevent__sources);
c_IAsyncEventSource* zq_asyncevent__current = nullptr;
GC_ROOT(zq_asyncevent__current);
GC_ROOT(c_Stack3::m_NIL);  // the stack's empty value (null)

// The registry is made on first use, so that code running before (or
// without) the host's zqInit, such as tests and tools, can use sockets.
static c_Stack3* zq_asyncevent_Sources() {
    if (zq_asyncevent__sources == nullptr) gc_assign(zq_asyncevent__sources, gc_new<c_Stack3>()->m_new());
    return zq_asyncevent__sources;
}

// Module start-up keeps a registry that already exists: the sockets in it
// were made before start-up and stay registered for the rest of the run
// (there is no removal), so dropping them would silence their completions.
static void zq_asyncevent_Init() {
    zq_asyncevent_Sources();
    zq_asyncevent__current = nullptr;
}
ZQ_MODULE_INIT(zq_asyncevent_Init);

void zq_asyncevent_AddAsyncEventSource(c_IAsyncEventSource* source) {
    c_Stack3* sources = zq_asyncevent_Sources();
    if (sources->p_Contains2(source)) zqError(String("Async event source is already active"));
    sources->p_Push7(source);
}

void zq_asyncevent_UpdateAsyncEvents() {
    if (zq_asyncevent__current != nullptr) return;
    c_Stack3* sources = zq_asyncevent_Sources();
    // The length is read at every step: a source registered by a completion
    // (a new request's socket) is visited in this same pump.
    for (int i = 0; i < sources->p_Length2(); ++i) {
        gc_assign(zq_asyncevent__current, sources->p_Get(i));
        zq_asyncevent__current->p_UpdateAsyncEvents();
    }
    zq_asyncevent__current = nullptr;
}
