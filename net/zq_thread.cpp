// ZqThread over the platform's threads (platform_threads.h). A started
// thread object is a collector root until the main thread has seen it
// finish, so the detached body can never run on a freed object even when
// the program dropped its last reference.
#include "net/zq_thread.h"

#include <cstdlib>
#include <vector>

#include "net/platform_threads.h"
#include "runtime/lang/errors.h"

namespace {

// Threads started and not yet seen finished. Main thread only.
std::vector<ZqThread*> zq_thread__started;

// Root marker: queues every started thread and drops the finished ones.
// Runs inside gc_mark() on the main thread.
void zq_thread_MarkStarted(const void*) {
    auto& started = zq_thread__started;
    size_t kept = 0;
    for (ZqThread* thread : started) {
        gc_enqueue(thread);
        if (thread->running.load(std::memory_order_acquire) == 2) {
            thread->rooted = false;
        } else {
            started[kept++] = thread;
        }
    }
    started.resize(kept);
}

[[maybe_unused]] const bool zq_thread__rootRegistered =
    gc_register_root(&zq_thread__started, &zq_thread_MarkStarted);

}  // namespace

void ZqThread::Start() {
    if (running.load(std::memory_order_acquire) == 1) return;
    result.store(nullptr, std::memory_order_relaxed);
    running.store(1, std::memory_order_relaxed);
    // The barrier keeps this object through the current cycle; the root
    // list keeps it through the following ones while the body runs.
    gc_enqueue(this);
    if (!rooted) {
        rooted = true;
        zq_thread__started.push_back(this);
    }
    bool started = zq_RunDetached([this] {
        Run__UNSAFE__();
        // Last touch of the object by this thread.
        running.store(2, std::memory_order_release);
    });
    if (!started) {
        zqPrint(String("CreateThread failed!"));
        std::exit(-1);
    }
}

bool ZqThread::IsRunning() {
    return running.load(std::memory_order_acquire) == 1;
}

Object* ZqThread::Result() {
    Object* value = result.load(std::memory_order_acquire);
    gc_enqueue(value);  // the barrier the body could not apply
    return value;
}

void ZqThread::SetResult(Object* value) {
    result.store(value, std::memory_order_release);
}

void ZqThread::mark() {
    Object::mark();
    gc_enqueue(result.load(std::memory_order_acquire));
}

String ZqThread::Strdup(const String& text) {
    return String(text.Data(), text.Length());
}
