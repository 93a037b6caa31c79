// The write-barrier verifier: a store that skips gc_assign into an object
// (or array, or global) that was already scanned is a fatal error naming
// the holder's class and the unmarked object's class; stores through the
// barrier pass unnoticed.
#include <fcntl.h>
#include <unistd.h>

#include <climits>

#include "runtime/lang/array.h"
#include "runtime/lang/object.h"
#include "tests/runtime_core/gc_test_support.h"

namespace {

class Leaf : public Object {};

class Holder : public Object {
  public:
    Object* ref = nullptr;
    Array<Object*> slots;
    void mark() override {
        Object::mark();
        gc_enqueue(ref);
        gc_enqueue(slots);
    }
};

class VerifierTest : public CollectorTest {
  protected:
    void SetUp() override {
        CollectorTest::SetUp();
        saved = gc_verify_enabled;
        gc_verify_enabled = true;
    }
    void TearDown() override {
        gc_verify_enabled = saved;
        CollectorTest::TearDown();
    }

    // A holder reachable from the test root, scanned in the current cycle.
    static Holder* ScannedHolder() {
        Holder* holder = gc_new<Holder>();
        gc_assign(holder->slots, Array<Object*>(4));
        gc_assign(gc_test_root, holder);
        gc_collect_all();
        gc_mark_queued(INT_MAX);
        return holder;
    }

    bool saved = false;
};

// The report goes to standard output and the debugger stop reads standard
// input: point both where the death test can see and end them.
void ReportToStderr() {
    dup2(2, 1);
    int null = open("/dev/null", O_RDONLY);
    dup2(null, 0);
}

TEST_F(VerifierTest, PlainFieldStoreIsFatalNamingBothClasses) {
    Holder* holder = ScannedHolder();
    EXPECT_EXIT(
        {
            ReportToStderr();
            holder->ref = gc_new<Leaf>();
            gc_collect_all();
        },
        ::testing::ExitedWithCode(255),
        "Tolvar Runtime Error : Write barrier missed: a marked .*Holder .* refers to an unmarked .*Leaf ");
}

TEST_F(VerifierTest, PlainArrayElementStoreIsFatalNamingTheArray) {
    Holder* holder = ScannedHolder();
    EXPECT_EXIT(
        {
            ReportToStderr();
            holder->slots[2] = gc_new<Leaf>();
            gc_collect_all();
        },
        ::testing::ExitedWithCode(255),
        "a marked Array<Object\\*>::Rep .* refers to an unmarked .*Leaf .*"
        "Store array elements with gc_assign");
}

TEST_F(VerifierTest, PlainGlobalStoreIsFatalNamingTheGlobal) {
    ScannedHolder();
    EXPECT_EXIT(
        {
            ReportToStderr();
            gc_test_root = gc_new<Leaf>();
            gc_collect_all();
        },
        ::testing::ExitedWithCode(255), "the global gc_test_root refers to an unmarked .*Leaf ");
}

TEST_F(VerifierTest, StoresThroughTheBarrierPass) {
    Holder* holder = ScannedHolder();
    gc_assign(holder->ref, gc_new<Leaf>());
    gc_assign(holder->slots[1], gc_new<Leaf>());
    gc_assign(holder->slots, holder->slots.Resize(8));  // a new array, marked at once
    gc_assign(holder->slots[7], gc_new<Holder>());
    gc_collect_all();
    gc_collect_all();
    gc_destroy_garbage();
    EXPECT_FALSE(gc_on_list(gc_free_list, holder->ref));
    EXPECT_NE(holder->slots[1], nullptr);
    EXPECT_NE(holder->slots[7], nullptr);
    // Garbage is no one's business: an unreachable holder of unmarked
    // objects is simply freed.
    gc_new<Holder>()->ref = gc_new<Leaf>();
    gc_collect_all();
}

}  // namespace
