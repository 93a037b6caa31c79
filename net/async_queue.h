// c_AsyncQueue: a ring of 256 operations executed in order by one worker
// thread and completed in order on the main thread.
//
// Concurrency: a single-producer, single-consumer ring without locks.
// - `put` (next free slot) is written by the main thread only, `next` (next
//   operation to execute) by the worker only, `get` (next operation to
//   complete) by the main thread only, and only `get` is not shared.
// - The main thread writes an operation into `ops` before its release store
//   of `put`; the worker's acquire load of `put` then sees the whole
//   operation. The worker writes an operation's results before its release
//   store of `next`; the main thread's acquire load of `next` then sees them.
// - Slots from `get` up to `next` hold executed operations waiting for
//   completion; slots from `next` up to `put` wait for execution. The main
//   thread never writes a slot in [next, put) and the worker reads no other.
// - At most 255 operations wait at once; one more stops the program with
//   "AsyncQueue queue overflow!".
// - The worker exists only while operations wait: started by p_Enqueue, it
//   ends once it has caught up with `put`. An operation queued just as the
//   worker was ending is picked up by the next pump, which starts it again.
#pragma once

#include <atomic>

#include "net/async_event.h"
#include "net/async_op.h"
#include "net/zq_thread.h"
#include "runtime/lang/array.h"

class c_AsyncQueue : public c_Thread, public virtual c_IAsyncEventSource {
  public:
    static constexpr int kSize = 256;

    c_Socket* socket = nullptr;  // whose operations this queue runs
    Array<c_AsyncOp*> ops;       // kSize slots
    std::atomic<int> put{0};
    std::atomic<int> next{0};
    int get = 0;

    c_AsyncQueue* m_new(c_Socket* socket);

    // Queues an operation and makes sure a worker runs (main thread).
    void p_Enqueue(c_AsyncOp* op);
    // Restarts a worker for stranded operations, then completes every
    // executed operation in order (main thread).
    void p_UpdateAsyncEvents() override;
    // The worker: executes operations until it has caught up with `put`.
    void Run__UNSAFE__() override;

    void mark() override;
};
