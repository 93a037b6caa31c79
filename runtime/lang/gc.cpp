// The collector's lists, counters, allocation, marking and cycles. See gc.h
// for the colour rule and the collection-point assumption.
#include "runtime/lang/gc.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

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

std::vector<std::pair<const void*, gc_root_marker>>& root_registry() {
    static std::vector<std::pair<const void*, gc_root_marker>> roots;
    return roots;
}

}  // namespace

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
    if (!object || !gc_is_unmarked(object)) return;
    object->flags ^= 1;
    gc_marked_bytes += object->gc_size();
    list_unlink(object);
    list_append(gc_marked_list, object);
    object->mark();
}

void gc_enqueue(gc_object* object) {
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

bool gc_register_root(const void* global, gc_root_marker marker) {
    root_registry().emplace_back(global, marker);
    return true;
}

void gc_mark() {
    for (const auto& [global, marker] : root_registry()) marker(global);
}
