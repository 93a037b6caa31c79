// c_AsyncQueue: see async_queue.h for the publication rules.
#include "net/async_queue.h"

#include "net/socket.h"
#include "runtime/lang/errors.h"

namespace {
int advance(int position) {
    return (position + 1) % c_AsyncQueue::kSize;
}
}  // namespace

c_AsyncQueue* c_AsyncQueue::m_new(c_Socket* owner) {
    c_Thread::m_new();
    gc_assign(socket, owner);
    gc_assign(ops, Array<c_AsyncOp*>(kSize));
    return this;
}

void c_AsyncQueue::p_Enqueue(c_AsyncOp* op) {
    int slot = put.load(std::memory_order_relaxed);
    int after = advance(slot);
    // A full ring: the slot after this one is still waiting for completion.
    if (after == get) zqError(String("AsyncQueue queue overflow!"));
    gc_assign(ops[slot], op);
    put.store(after, std::memory_order_release);
    Start();
}

void c_AsyncQueue::p_UpdateAsyncEvents() {
    if (next.load(std::memory_order_acquire) != put.load(std::memory_order_relaxed)) Start();
    while (get != next.load(std::memory_order_acquire)) {
        c_AsyncOp* op = ops[get];
        ops[get] = nullptr;  // completed operations do not linger in the ring
        get = advance(get);
        op->p_Complete(socket);
    }
}

void c_AsyncQueue::Run__UNSAFE__() {
    int position = next.load(std::memory_order_relaxed);
    while (position != put.load(std::memory_order_acquire)) {
        ops[position]->p_Execute__UNSAFE__(socket);
        position = advance(position);
        next.store(position, std::memory_order_release);
    }
}

void c_AsyncQueue::mark() {
    c_Thread::mark();
    gc_enqueue(socket);
    gc_enqueue(ops);
}
