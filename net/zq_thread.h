// Operating-system threads for the framework: ZqThread (host level) and its
// framework class c_Thread.
//
// Threading and ownership
// - Start(), IsRunning(), Result() and the collector run on the main thread;
//   Run__UNSAFE__() runs on the new thread, which is detached at once.
// - `running` and `result` are the only fields both sides touch; they are
//   atomics (release on write, acquire on read), so whatever the body wrote
//   before finishing or before SetResult is visible to the main thread that
//   observes the new value.
// - A started thread keeps its object alive: until the main thread has seen
//   it finish, the object is a collector root (see zq_thread.cpp). The body
//   must not touch the collector: no gc_new, no gc_assign, no shared String.
//   SetResult therefore stores without the write barrier; Result() applies
//   the barrier on the main thread when it hands the value out.
// - A thread that cannot be created ends the process ("CreateThread
//   failed!", exit code -1).
#pragma once

#include <atomic>

#include "runtime/lang/object.h"
#include "runtime/lang/string.h"

class ZqThread : public Object {
  public:
    // 0 never started, 1 running, 2 finished.
    std::atomic<int> running{0};
    // Set by the thread body if it wants; cleared by Start().
    std::atomic<Object*> result{nullptr};

    // Starts the body on a new detached thread unless it is running.
    virtual void Start();
    virtual bool IsRunning();
    // The value the body published with SetResult (main thread).
    virtual Object* Result();
    // Publishes a value; callable from the thread body. The object must be
    // kept reachable by other means until the main thread reads Result().
    virtual void SetResult(Object* value);
    // The thread body. Runs off the main thread: see the rules above.
    virtual void Run__UNSAFE__() {}

    void mark() override;

    // A fresh, unshared copy of a String, whose count only its new owner
    // touches (counts of shared strings are not thread-safe).
    static String Strdup(const String& text);

    // Main thread only: whether the collector still treats this thread as a
    // root (set by Start, cleared once the main thread saw it finish).
    bool rooted = false;
};

class c_Thread : public ZqThread {
  public:
    c_Thread* m_new() { return this; }
};
