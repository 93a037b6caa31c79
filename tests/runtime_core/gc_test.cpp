// The collector, by rule: the write barrier during an incremental cycle,
// lazy destruction, the cycle threshold, permanent empty representations,
// external byte counting from several threads, interface references.
#include <climits>
#include <thread>
#include <vector>

#include "runtime/lang/array.h"
#include "runtime/lang/object.h"
#include "runtime/lang/string.h"
#include "tests/runtime_core/gc_test_support.h"

namespace {

using BarrierTest = CollectorTest;
using LazyDestructionTest = CollectorTest;
using CycleThresholdTest = CollectorTest;
using PermanentRepTest = CollectorTest;
using ExternalBytesTest = CollectorTest;
using InterfaceTest = CollectorTest;

int destroyed = 0;  // destructor runs of Probe objects

// A collected object with one reference field and a destructor to watch.
class Probe : public Object {
  public:
    Object* ref = nullptr;
    int id = 0;
    ~Probe() override { ++destroyed; }
    void mark() override {
        Object::mark();
        gc_enqueue(ref);
    }
};

Probe* probe(int id = 0) {
    Probe* p = gc_new<Probe>();
    p->id = id;
    return p;
}

// Allocation so that exactly `bytes` new bytes are counted.
Array<bool> allocate_exactly(int bytes) {
    return Array<bool>(bytes - static_cast<int>(sizeof(Array<bool>::Rep)));
}

// ---- the write barrier ----

TEST_F(BarrierTest, StoreIntoScannedObjectKeepsTheNewObjectAlive) {
    Probe* holder = probe();
    gc_assign(gc_test_root, holder);
    gc_collect_all();         // the holder is now an old object, queued as a root
    gc_mark_queued(INT_MAX);  // ... and scanned: its field holds null
    ASSERT_TRUE(gc_on_list(gc_marked_list, holder));

    Probe* late = probe(7);  // allocated unmarked in the middle of the cycle
    gc_assign(holder->ref, late);
    gc_collect_all();
    gc_collect_all();
    EXPECT_FALSE(gc_on_list(gc_free_list, late));
    EXPECT_EQ(static_cast<Probe*>(holder->ref)->id, 7);

    // Control: the same store without the barrier loses the object (the
    // verifier, which would stop the program here, is off for it).
    bool verify = gc_verify_enabled;
    gc_verify_enabled = false;
    gc_mark_queued(INT_MAX);
    Probe* unguarded = probe(8);
    holder->ref = unguarded;
    gc_collect_all();
    EXPECT_TRUE(gc_on_list(gc_free_list, unguarded));
    holder->ref = nullptr;
    gc_verify_enabled = verify;
}

TEST_F(BarrierTest, IncrementalStepsScanLiveObjectsInPaceWithAllocation) {
    // 1 MiB of live objects in a chain, then garbage allocated in 1 KiB
    // pieces with one step after each, as the host runs them per event.
    Probe* head = probe();
    gc_assign(gc_test_root, head);
    Probe* tail = head;
    const int chain = (1 << 20) / static_cast<int>(sizeof(Probe));  // objects are smaller on 32 bits
    for (int i = 0; i < chain; ++i) {
        Probe* next = probe(i);
        gc_assign(tail->ref, next);
        tail = next;
    }
    allocate_exactly(gc_cycle_bytes);
    gc_collect();  // a full cycle: the chain is live and queued again
    ASSERT_EQ(gc_new_bytes, 0);
    int liveBytes = gc_alloced_bytes;
    ASSERT_GE(liveBytes, 1 << 20);
    int sweeps = 0;
    bool queueEmptiedInTime = false;
    int markbit = gc_markbit;
    while (sweeps == 0) {
        Array<int> garbage(250);
        gc_collect();
        if (gc_markbit != markbit) {
            ++sweeps;
        } else if (gc_queued_list.succ == &gc_queued_list) {
            queueEmptiedInTime = true;
        }
    }
    EXPECT_TRUE(queueEmptiedInTime) << "the whole chain was scanned before the cycle had to complete";
    EXPECT_EQ(gc_alloced_bytes, liveBytes);
}

// One step's budget has two parts: the bytes allocated since the cycle
// began, plus that share of the previously live bytes. With less than
// 8 MiB live the first part alone would also finish in time, so the
// budget of a single step is checked.
TEST_F(BarrierTest, StepBudgetGrowsWithThePreviouslyLiveBytes) {
    Probe* head = probe();
    gc_assign(gc_test_root, head);
    Probe* tail = head;
    for (int i = 0; i < 65536; ++i) {
        Probe* next = probe(i);
        gc_assign(tail->ref, next);
        tail = next;
    }
    allocate_exactly(gc_cycle_bytes);
    gc_collect();  // a full cycle: the chain is live and queued again
    ASSERT_EQ(gc_new_bytes, 0);
    ASSERT_EQ(gc_marked_bytes, 0);
    allocate_exactly(256 * 1024);
    int64_t fresh = gc_new_bytes;
    int64_t live = gc_alloced_bytes - fresh;
    int64_t budget = fresh + live * fresh / gc_cycle_bytes;
    ASSERT_GT(live * fresh / gc_cycle_bytes, 32 * 1024);
    gc_collect();
    EXPECT_GE(gc_marked_bytes, budget);
    EXPECT_LT(gc_marked_bytes, budget + 64);  // stops after the object that reached it
}

// ---- lazy destruction ----

TEST_F(LazyDestructionTest, GarbageIsDestroyedAtLaterAllocationsOldestFirst) {
    destroyed = 0;
    std::vector<Probe*> dropped;
    for (int i = 0; i < 4; ++i) dropped.push_back(probe(i));
    const int size = dropped[0]->gc_size();
    gc_collect_all();  // dropped objects were unreachable: onto the free list
    EXPECT_EQ(destroyed, 0) << "the sweep destroys nothing";
    EXPECT_EQ(gc_free_bytes, 4 * size);
    EXPECT_EQ(gc_free_list.succ, dropped[0]);

    Probe* fresh = probe();  // pays for as many bytes as it takes: one object
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(gc_free_list.succ, dropped[1]);
    EXPECT_EQ(fresh, static_cast<gc_object*>(dropped[0])) << "the block came back through gc_cache";

    Array<int> big(40);  // 32 + 160 bytes: all remaining garbage goes
    EXPECT_EQ(destroyed, 4);
    EXPECT_EQ(gc_free_bytes, 0);
    EXPECT_EQ(gc_free_list.succ, &gc_free_list);
}

TEST_F(LazyDestructionTest, StringArrayReleasesItsStringsWhenDestroyed) {
    // Leak-checked under the address sanitizer: the strings' blocks must go.
    String shared("shared by the array and this test");
    {
        Array<String> pieces(3);
        pieces[0] = shared;
        pieces[1] = String("owned by the array alone");
        pieces[2] = shared + String("!");
    }
    gc_collect_all();
    gc_destroy_garbage();
    EXPECT_EQ(shared, String("shared by the array and this test"));
}

class Refuses : public Object {
  public:
    Refuses() { throw 7; }
};

TEST_F(LazyDestructionTest, ThrowingConstructorGivesItsBlockBack) {
    int newBytes = gc_new_bytes, alloced = gc_alloced_bytes;
    EXPECT_THROW(gc_new<Refuses>(), int);
    EXPECT_EQ(gc_new_bytes, newBytes);
    EXPECT_EQ(gc_alloced_bytes, alloced);
    EXPECT_EQ(gc_unmarked_list.succ, &gc_unmarked_list) << "never linked";
    void* cached = gc_cache[sizeof(Refuses) / 8];
    EXPECT_NE(cached, nullptr);
    static_assert(sizeof(Object) == sizeof(Refuses));
    EXPECT_EQ(static_cast<void*>(gc_new<Object>()), cached) << "the block is reused";
}

// ---- the cycle threshold ----

TEST_F(CycleThresholdTest, NoSweepUpToTheLimitAndASweepOnTheFirstStepPastIt) {
    int markbit = gc_markbit;
    allocate_exactly(gc_cycle_bytes / 2);
    gc_collect();
    allocate_exactly(gc_cycle_bytes / 2);
    EXPECT_EQ(gc_new_bytes, 8388608);
    gc_collect();
    EXPECT_EQ(gc_markbit, markbit) << "exactly 8388608 bytes: no sweep";
    gc_collect();
    EXPECT_EQ(gc_markbit, markbit);

    probe();
    gc_collect();
    EXPECT_NE(gc_markbit, markbit) << "first step past the limit sweeps";
    EXPECT_EQ(gc_new_bytes, 0);
    EXPECT_GE(gc_free_bytes, 8388608) << "the unreachable arrays wait for destruction";
}

TEST_F(CycleThresholdTest, ExternalBytesCountTowardsTheLimit) {
    int markbit = gc_markbit;
    allocate_exactly(4096);
    gc_ext_malloced(gc_cycle_bytes - 4096);
    gc_collect();
    EXPECT_EQ(gc_markbit, markbit);
    EXPECT_EQ(gc_ext_new_bytes.load(), gc_cycle_bytes - 4096);
    gc_ext_malloced(1);
    gc_collect();
    EXPECT_NE(gc_markbit, markbit);
    EXPECT_EQ(gc_ext_new_bytes.load(), 0);
    EXPECT_EQ(gc_new_bytes, 0);

    // External bytes alone complete a cycle too.
    gc_ext_malloced(gc_cycle_bytes + 1);
    gc_collect();
    EXPECT_EQ(gc_markbit, markbit);
}

// ---- permanent empty representations ----

TEST_F(PermanentRepTest, EmptyArraysAndStringsSurviveAnyNumberOfCycles) {
    Probe* holder = probe();
    gc_assign(gc_test_root, holder);
    for (int cycle = 0; cycle < 200; ++cycle) {
        Array<String> emptyStrings;
        Array<Probe*> emptyProbes(0);
        gc_mark(emptyStrings);
        gc_enqueue(emptyProbes);
        gc_mark(&Array<int>::Rep::nullRep);
        String empty = String("").Slice(3) + String();
        Array<String> resized = emptyStrings.Resize(-5);
        EXPECT_EQ(resized.rep, &Array<String>::Rep::nullRep);
        for (int i = 0; i < 8; ++i) probe();  // garbage, destroyed in later cycles
        gc_collect_all();
    }
    for (gc_object* rep : std::initializer_list<gc_object*>{
             &Array<String>::Rep::nullRep, &Array<Probe*>::Rep::nullRep, &Array<int>::Rep::nullRep}) {
        EXPECT_EQ(rep->flags, 3);
        EXPECT_EQ(rep->succ, rep);
        EXPECT_EQ(rep->pred, rep);
    }
    EXPECT_EQ(Array<String>().Length(), 0);
    EXPECT_EQ(String::nullRep.refcount, 1) << "the empty string's count is never touched";
    EXPECT_EQ(String::nullRep.length, 0);
}

TEST_F(PermanentRepTest, EmptyStringsMayBeCopiedOnAnyThread) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 100000; ++i) {
                String a;
                String b = a;
                a = b + String();
            }
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(String::nullRep.refcount, 1);
}

// ---- external bytes ----

TEST_F(ExternalBytesTest, ConcurrentAdditionsAreExact) {
    constexpr int kThreads = 6, kAdds = 200000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < kAdds; ++i) gc_ext_malloced(t + 1);
        });
    // The main thread keeps stepping meanwhile, below the limit.
    for (int i = 0; i < 1000; ++i) gc_collect();
    for (auto& thread : threads) thread.join();
    int expected = 0;
    for (int t = 0; t < kThreads; ++t) expected += (t + 1) * kAdds;
    ASSERT_LE(expected, gc_cycle_bytes);
    EXPECT_EQ(gc_ext_new_bytes.load(), expected);
}

// ---- interface references ----

class c_IListener : public virtual gc_interface {
  public:
    virtual int p_Heard() = 0;
};

class Listener : public Object, public virtual c_IListener {
  public:
    int p_Heard() override { return 42; }
};

class Speaker : public Object {
  public:
    c_IListener* listener = nullptr;
    Object* any = nullptr;
    void mark() override {
        Object::mark();
        gc_enqueue(listener);
        gc_enqueue(any);
    }
};

TEST_F(InterfaceTest, InterfaceReferencesKeepTheirObjectsAlive) {
    Speaker* speaker = gc_new<Speaker>();
    gc_assign(gc_test_root, speaker);
    gc_collect_all();
    gc_mark_queued(INT_MAX);
    Listener* listener = gc_new<Listener>();
    gc_assign(speaker->listener, listener);  // through the interface
    Listener* other = gc_new<Listener>();
    gc_assign(speaker->any, other);  // an object that also implements interfaces
    Array<c_IListener*> list(2);
    gc_assign(list[1], static_cast<c_IListener*>(other));
    gc_collect_all();
    gc_collect_all();
    EXPECT_FALSE(gc_on_list(gc_free_list, listener));
    EXPECT_FALSE(gc_on_list(gc_free_list, other));
    EXPECT_EQ(speaker->listener->p_Heard(), 42);
    gc_mark(other);  // compiles: the object path is taken
    gc_enqueue(static_cast<c_IListener*>(nullptr));
}

}  // namespace
