// Collector benchmarks, shaped like the host's use: objects allocated during
// an "event", one collector step after it.
//
// - BM_GcSmallObjects vs BM_NewDeleteSmallObjects: 32 to 56-byte objects
//   (the smallest collected object is 32 bytes: the header alone takes 28),
//   garbage at the end of each event, with 1 MiB of live objects that the
//   collector keeps scanning. Items are objects allocated.
// - BM_GcStepTimes: 8 MiB of live objects, 16 KiB of garbage per event;
//   counters give the p50, p99 and longest collector step in microseconds
//   of thread CPU time over enough events for several complete cycles. Shape 0 spreads the
//   objects over many small arrays (as the game's lists are); shape 1 holds
//   them all in one array, the worst case for an array's immediate marking.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <vector>

#include "runtime/lang/array.h"
#include "runtime/lang/object.h"

namespace {

// ---- object shapes ----

template <int Words>
class Payload : public Object {
  public:
    int64_t words[Words] = {};
};
template <>
class Payload<0> : public Object {};
static_assert(sizeof(Payload<0>) == 32 && sizeof(Payload<3>) == 56);

// The peers for new/delete: the same sizes, also with a virtual destructor.
struct PlainBase {
    virtual ~PlainBase() = default;
};
template <int Bytes>
struct Plain : PlainBase {
    char bytes[Bytes - sizeof(void*)] = {};
};
static_assert(sizeof(Plain<32>) == 32 && sizeof(Plain<56>) == 56);

// A live-set node: a few references and a small array of leaves, the kind
// of structure a game keeps (lists of entities, their frames).
class LiveNode : public Object {
  public:
    LiveNode* next = nullptr;
    Array<Object*> leaves;
    void mark() override {
        Object::mark();
        gc_enqueue(next);
        gc_enqueue(leaves);
    }
};

gc_object* bench_root = nullptr;
GC_ROOT(bench_root);

void start_collector() {
    bench_root = nullptr;
    gc_collect_all();
    gc_collect_all();
    gc_destroy_garbage();
    gc_reset();
    gc_mark();
}

// Builds about `bytes` of live objects reachable from bench_root: a chain
// of nodes with 16 leaves each, or (oneArray) a single array of leaves.
void build_live_set(int bytes, bool oneArray = false) {
    int start = gc_alloced_bytes;
    if (oneArray) {
        int leaves = bytes / (static_cast<int>(sizeof(Payload<1>)) + 8);
        Array<Object*> all(leaves);
        for (int i = 0; i < leaves; ++i) all[i] = gc_new<Payload<1>>();  // marked below, at the store
        LiveNode* holder = gc_new<LiveNode>();
        gc_assign(holder->leaves, all);
        gc_assign(bench_root, static_cast<gc_object*>(holder));
        return;
    }
    LiveNode* head = nullptr;
    while (gc_alloced_bytes - start < bytes) {
        LiveNode* node = gc_new<LiveNode>();
        gc_assign(node->leaves, Array<Object*>(16));
        for (int i = 0; i < 16; ++i) gc_assign(node->leaves[i], static_cast<Object*>(gc_new<Payload<1>>()));
        gc_assign(node->next, head);
        head = node;
    }
    gc_assign(bench_root, static_cast<gc_object*>(head));
}

constexpr int kObjectsPerEvent = 64;

// This thread's CPU time: on a shared machine, wall-clock step times mostly
// measure preemption by other processes.
double thread_cpu_us() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

// ---- (a) small objects ----

void BM_GcSmallObjects(benchmark::State& state) {
    start_collector();
    build_live_set(1 << 20);
    Object* used[kObjectsPerEvent];
    for (auto _ : state) {
        for (int i = 0; i < kObjectsPerEvent; i += 4) {
            used[i] = gc_new<Payload<0>>();
            used[i + 1] = gc_new<Payload<1>>();
            used[i + 2] = gc_new<Payload<2>>();
            used[i + 3] = gc_new<Payload<3>>();
        }
        benchmark::DoNotOptimize(used);
        gc_collect();  // the step the host runs after the event
    }
    state.SetItemsProcessed(state.iterations() * kObjectsPerEvent);
    start_collector();
}
BENCHMARK(BM_GcSmallObjects);

void BM_NewDeleteSmallObjects(benchmark::State& state) {
    PlainBase* used[kObjectsPerEvent];
    for (auto _ : state) {
        for (int i = 0; i < kObjectsPerEvent; i += 4) {
            used[i] = new Plain<32>;
            used[i + 1] = new Plain<40>;
            used[i + 2] = new Plain<48>;
            used[i + 3] = new Plain<56>;
        }
        benchmark::DoNotOptimize(used);
        for (PlainBase* object : used) delete object;
    }
    state.SetItemsProcessed(state.iterations() * kObjectsPerEvent);
}
BENCHMARK(BM_NewDeleteSmallObjects);

// ---- (b) step times with 8 MiB live ----

void BM_GcStepTimes(benchmark::State& state) {
    start_collector();
    build_live_set(8 << 20, state.range(0) == 1);
    // Building counted 8 MiB of new bytes: let the first step complete that
    // cycle before measuring the steady state.
    gc_collect();
    const double liveMiB = gc_alloced_bytes / 1048576.0;
    std::vector<double> steps;
    for (auto _ : state) {
        steps.clear();
        // 16 KiB of garbage per event: a complete cycle every 512 events.
        for (int event = 0; event < 4096; ++event) {
            for (int i = 0; i < 16384 / 64; ++i) {
                benchmark::DoNotOptimize(gc_new<Payload<0>>());
                benchmark::DoNotOptimize(gc_new<Payload<0>>());
            }
            double begin = thread_cpu_us();
            gc_collect();
            steps.push_back(thread_cpu_us() - begin);
        }
    }
    std::sort(steps.begin(), steps.end());
    state.counters["step_p50_us"] = steps[steps.size() / 2];
    state.counters["step_p99_us"] = steps[steps.size() * 99 / 100];
    state.counters["step_max_us"] = steps.back();
    state.counters["live_MiB"] = liveMiB;
    start_collector();
}
// Argument 0: nodes with small arrays; 1: the same objects in one array,
// whose elements are marked all at once when the array is scanned.
BENCHMARK(BM_GcStepTimes)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
