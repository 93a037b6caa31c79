// Test helpers for driving the collector by hand.
#include "tests/runtime_core/gc_test_support.h"

gc_object* gc_test_root = nullptr;
GC_ROOT(gc_test_root);

void gc_start_clean() {
    gc_test_root = nullptr;
    gc_collect_all();
    gc_collect_all();
    gc_destroy_garbage();
    gc_reset();
    gc_mark();
}

bool gc_on_list(const gc_object& list, const gc_object* object) {
    for (const gc_object* o = list.succ; o != &list; o = o->succ)
        if (o == object) return true;
    return false;
}
