// The collector's lists, counters, allocation, marking and cycles. See gc.h
// for the colour rule and the collection-point assumption.
#include "runtime/lang/gc.h"

#include <cxxabi.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <typeinfo>
#include <vector>

#include "runtime/lang/errors.h"

// Constant-initialised: usable by dynamic initialisers of any other file.
constinit gc_object gc_unmarked_list(3);
constinit gc_object gc_queued_list(3);
constinit gc_object gc_marked_list(3);
constinit gc_object gc_free_list(3);

int gc_new_bytes = 0;
int gc_alloced_bytes = 0;
int gc_max_alloced_bytes = 0;
int gc_marked_bytes = 0;
int gc_free_bytes = 0;
std::atomic<int> gc_ext_new_bytes{0};
int gc_markbit = 1;
void* gc_cache[8] = {};

namespace {

// ---- list primitives ----

void list_clear(gc_object& list) {
    list.succ = list.pred = &list;
}

bool list_empty(const gc_object& list) {
    return list.succ == &list;
}

void list_unlink(gc_object* object) {
    object->pred->succ = object->succ;
    object->succ->pred = object->pred;
}

void list_append(gc_object& list, gc_object* object) {
    object->pred = list.pred;
    object->succ = &list;
    list.pred->succ = object;
    list.pred = object;
}

// Moves every object of `from` to the tail of `to`, leaving `from` empty.
void list_splice_tail(gc_object& to, gc_object& from) {
    if (list_empty(from)) return;
    from.succ->pred = to.pred;
    to.pred->succ = from.succ;
    from.pred->succ = &to;
    to.pred = from.pred;
    list_clear(from);
}

// Freed blocks are chained through their first word while in gc_cache.
struct cached_block {
    cached_block* next;
};

// Runs the destructor of the oldest garbage object and frees its block.
void destroy_oldest_garbage() {
    gc_object* object = gc_free_list.succ;
    list_unlink(object);
    int size = object->gc_size();
    object->~gc_object();
    gc_free_bytes -= size;
    gc_object_free(object, size);
}

struct gc_root_entry {
    const void* global;
    gc_root_marker marker;
    const char* name;
};

std::vector<gc_root_entry>& root_registry() {
    static std::vector<gc_root_entry> roots;
    return roots;
}

// ---- verifier state ----

bool verify_default() {
#ifdef TOLVAR_GC_VERIFY
    return true;
#else
    const char* env = std::getenv("TOLVAR_GC_VERIFY");
    return env && std::strcmp(env, "1") == 0;
#endif
}

// While a verification walk runs, gc_mark and gc_enqueue check instead of
// marking; the holder is the marked object (or the root) being walked.
bool verifying = false;
const gc_object* verify_holder = nullptr;
const char* verify_root = nullptr;

void verify_reference(gc_object* object);

}  // namespace

bool gc_verify_enabled = verify_default();

void gc_reset() {
    list_clear(gc_unmarked_list);
    list_clear(gc_queued_list);
    list_clear(gc_marked_list);
    list_clear(gc_free_list);
    gc_new_bytes = gc_alloced_bytes = gc_max_alloced_bytes = gc_marked_bytes = gc_free_bytes = 0;
    gc_ext_new_bytes.store(0);
    gc_markbit = 1;
}

// ---- allocation ----

void* gc_object_alloc(int size) {
    size = (size + 7) & ~7;
    gc_new_bytes += size;

    // Lazy destruction: pay for about as many bytes of garbage as requested.
    int target = gc_free_bytes - size;
    if (target < 0) target = 0;
    while (gc_free_bytes > target && !list_empty(gc_free_list)) destroy_oldest_garbage();

    if (size <= gc_cache_max_size && gc_cache[size >> 3]) {
        auto* block = static_cast<cached_block*>(gc_cache[size >> 3]);
        gc_cache[size >> 3] = block->next;
        return block;
    }
    void* block = std::malloc(static_cast<std::size_t>(size));
    if (!block) std::abort();  // out of memory: nothing sensible is left to do
    return block;
}

void gc_object_link(gc_object* object, int size) {
    size = (size + 7) & ~7;
    object->flags = size | gc_markbit;
    list_append(gc_unmarked_list, object);
    gc_alloced_bytes += size;
    if (gc_alloced_bytes > gc_max_alloced_bytes) gc_max_alloced_bytes = gc_alloced_bytes;
}

void gc_object_abandon(void* block, int size) {
    size = (size + 7) & ~7;
    gc_new_bytes -= size;
    gc_object_free(block, size);
}

void gc_object_free(void* block, int size) {
    if (size <= gc_cache_max_size) {
        auto* cached = static_cast<cached_block*>(block);
        cached->next = static_cast<cached_block*>(gc_cache[size >> 3]);
        gc_cache[size >> 3] = cached;
        return;
    }
    std::free(block);
}

// ---- marking ----

void gc_mark(gc_object* object) {
    if (verifying) return verify_reference(object);
    if (!object || !gc_is_unmarked(object)) return;
    object->flags ^= 1;
    gc_marked_bytes += object->gc_size();
    list_unlink(object);
    list_append(gc_marked_list, object);
    object->mark();
}

void gc_enqueue(gc_object* object) {
    if (verifying) return verify_reference(object);
    if (!object || !gc_is_unmarked(object)) return;
    object->flags ^= 1;
    list_unlink(object);
    list_append(gc_queued_list, object);
}

// ---- cycles ----

void gc_mark_queued(int budget) {
    while (gc_marked_bytes < budget && !list_empty(gc_queued_list)) {
        gc_object* object = gc_queued_list.succ;
        list_unlink(object);
        list_append(gc_marked_list, object);
        gc_marked_bytes += object->gc_size();
        object->mark();
    }
}

void gc_sweep() {
    if (gc_verify_enabled) gc_verify_marked();
    // Whatever is still unmarked was not reached. It waits on the free list;
    // its destructor runs during later allocations. (When every byte was
    // reached the unmarked list is already empty and the splice does nothing;
    // splicing rather than clearing never loses an object to a miscount.)
    gc_free_bytes += gc_alloced_bytes - gc_marked_bytes;
    list_splice_tail(gc_free_list, gc_unmarked_list);
    // Survivors become the next cycle's unmarked objects.
    list_splice_tail(gc_unmarked_list, gc_marked_list);
    gc_alloced_bytes = gc_marked_bytes;
    gc_marked_bytes = 0;
    gc_markbit ^= 1;
}

void gc_collect() {
    int ext = gc_ext_new_bytes.load(std::memory_order_relaxed);
    if (static_cast<int64_t>(gc_new_bytes) + ext > gc_cycle_bytes) {
        // Additions made by other threads since the read survive.
        gc_ext_new_bytes.fetch_sub(ext, std::memory_order_relaxed);
        gc_mark_queued(2147483647);
        gc_sweep();
        gc_mark();
        gc_new_bytes = 0;
        return;
    }
    // Keep marking in pace with allocation: once gc_cycle_bytes are
    // allocated, every previously live byte has been scanned.
    int64_t previouslyLive = static_cast<int64_t>(gc_alloced_bytes) - gc_new_bytes;
    int64_t target = gc_new_bytes + previouslyLive * gc_new_bytes / gc_cycle_bytes;
    gc_mark_queued(static_cast<int>(target));
}

void gc_collect_all() {
    gc_mark_queued(2147483647);
    gc_sweep();
    gc_mark();
}

void gc_destroy_garbage() {
    while (!list_empty(gc_free_list)) destroy_oldest_garbage();
}

// ---- roots ----

bool gc_register_root(const void* global, gc_root_marker marker, const char* name) {
    root_registry().push_back({global, marker, name});
    return true;
}

void gc_mark() {
    for (const gc_root_entry& root : root_registry()) root.marker(root.global);
}

// ---- write-barrier verifier ----

namespace {

std::string class_name(const gc_object* object) {
    const char* mangled = typeid(*object).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : mangled;
    std::free(demangled);
    return name;
}

std::string address(const void* p) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", p);
    return text;
}

void verify_reference(gc_object* object) {
    if (!object || !gc_is_unmarked(object)) return;
    verifying = false;
    std::string holder = verify_root
                             ? std::string("the global ") + verify_root
                             : "a marked " + class_name(verify_holder) + " (" + address(verify_holder) + ")";
    bool inArray = !verify_root && class_name(verify_holder).rfind("Array<", 0) == 0;
    std::string message = "Write barrier missed: " + holder + " refers to an unmarked " + class_name(object) +
                          " (" + address(object) + ") that this sweep would free. " +
                          (inArray ? "Store array elements with gc_assign(array[i], value)."
                                   : "Store object references with gc_assign.");
    zqError(String(message.c_str()));
}

}  // namespace

void gc_verify_marked() {
    verifying = true;
    for (gc_object* object = gc_marked_list.succ; object != &gc_marked_list; object = object->succ) {
        verify_holder = object;
        object->mark();
    }
    verify_holder = nullptr;
    for (const gc_root_entry& root : root_registry()) {
        verify_root = root.name;
        root.marker(root.global);
    }
    verify_root = nullptr;
    verifying = false;
}
