// The collector: an incremental mark-and-sweep collector for every object
// derived from gc_object.
//
// Index
//   [SECTION] Object header          gc_object, gc_interface
//   [SECTION] Collector state        the four lists, the counters, gc_cache
//   [SECTION] Allocation             gc_new<T>(), gc_object_alloc, gc_object_free
//   [SECTION] Marking                gc_mark, gc_enqueue, gc_assign
//   [SECTION] Cycles                 gc_mark_queued, gc_sweep, gc_collect, gc_collect_all
//   [SECTION] Roots                  GC_ROOT(global), gc_mark()
//   [SECTION] Write-barrier verifier gc_verify_enabled
//
// Assumptions and limits
// - The collector never scans the native stack. It runs only at collection
//   points (after each host event), where no local variable holds the only
//   reference to a collected object: whatever must outlive an event is
//   reachable from a root registered with GC_ROOT.
// - Every store of an object reference into a global or into a field of a
//   collected object goes through gc_assign (the write barrier); a store that
//   skips it may let the collector free a live object during an incremental
//   cycle.
// - A constructor must not hand `this` to gc_assign/gc_enqueue/gc_mark (the
//   header is written only after the constructor returns): do such stores
//   in the class's m_new(), which runs on the linked object.
// - GC_ROOT and ZQ_MODULE_INIT register from static initialisers. In a
//   static library a file is linked only when another file uses one of its
//   symbols, which a module's globals and functions normally ensure.
// - Main thread only. The one exception is gc_ext_malloced, which loaders on
//   worker threads may call.
// - Colours: an object is unmarked in the current cycle when (flags & 3) ==
//   gc_markbit. Flipping gc_markbit at each sweep turns every survivor back
//   into an unmarked object without touching it. Permanent objects carry
//   flags 3, which never equals gc_markbit, so they are never moved or freed.
#pragma once

#include <atomic>
#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

// [SECTION] Object header ----------------------------------------------------

struct gc_object {
    gc_object* succ;  // neighbours on the list the object is on right now
    gc_object* pred;
    int flags;  // byte size (multiple of 8) | permanent bit (2) | mark bit (1)

    // Heap objects: the header is written by the allocator after the
    // constructor ran, so a value-initialising constructor cannot clobber it.
    gc_object() noexcept {}
    // Static objects (list sentinels, empty array representations). constexpr
    // so that they are constant-initialised, before any dynamic initialiser
    // of another file can reach them.
    constexpr explicit gc_object(int staticFlags) noexcept : succ(this), pred(this), flags(staticFlags) {}
    gc_object(const gc_object&) = delete;
    gc_object& operator=(const gc_object&) = delete;
    virtual ~gc_object() {}

    // Marks what this object refers to: gc_enqueue for each object or array
    // field. Empty here.
    virtual void mark() {}

    int gc_size() const { return flags & ~7; }

    // Collected objects are made with gc_new<T>() and destroyed only by the
    // collector; `new T` and `delete p` do not compile outside the runtime.
    static void* operator new(std::size_t) = delete;

  protected:
    // Needed by the deleting destructor that every class with a virtual
    // destructor has; the collector itself never calls it.
    static void operator delete(void*) noexcept {}
};

// The root of interface classes. Interfaces derive from it virtually; a
// class implementing them derives from Object first. Not collected itself.
struct gc_interface {
    virtual ~gc_interface() {}
};

// [SECTION] Collector state --------------------------------------------------

// List sentinels: succ/pred point to the sentinel itself when a list is empty.
extern gc_object gc_unmarked_list;  // not yet reached this cycle, and every new object
extern gc_object gc_queued_list;    // reached, not yet scanned (grey)
extern gc_object gc_marked_list;    // reached and scanned (black)
extern gc_object gc_free_list;      // unreachable, waiting for their destructor

// Counters, all in bytes.
extern int gc_new_bytes;                   // allocated since the last completed cycle
extern int gc_alloced_bytes;               // live as of the last sweep + allocated since
extern int gc_max_alloced_bytes;           // peak of gc_alloced_bytes (statistic only)
extern int gc_marked_bytes;                // moved to the marked list this cycle
extern int gc_free_bytes;                  // waiting on the free list
extern std::atomic<int> gc_ext_new_bytes;  // allocated outside the collector since the last cycle

extern int gc_markbit;  // 1 at start, flipped at every sweep

// Freed blocks of 8..56 bytes, one stack per size / 8, chained through their
// first word. Blocks in the cache are never returned to the system.
constexpr int gc_cache_max_size = 56;
extern void* gc_cache[8];

// A full cycle completes once this many bytes (collected plus external) were
// allocated since the last one.
constexpr int gc_cycle_bytes = 8388608;

// Empties the four lists and zeroes the counters (process start-up).
void gc_reset();

// [SECTION] Allocation -------------------------------------------------------

// Steps 1-3 of allocation: rounds size up to 8, counts it, runs destructors
// of about as many bytes of garbage as requested (oldest first), and returns
// a block from gc_cache or the system allocator. The caller constructs the
// object in it and then calls gc_object_link.
void* gc_object_alloc(int size);
// Step 4: the object joins gc_unmarked_list, unmarked in the current cycle.
void gc_object_link(gc_object* object, int size);
// Gives back a block whose object was never linked (its constructor threw).
void gc_object_abandon(void* block, int size);
// The memory half of destruction: the block of an object whose destructor
// already ran goes to gc_cache or back to the system allocator.
void gc_object_free(void* block, int size);

// Creates a collected object: gc_new<c_Foo>(args...). A constructor that
// throws hands its block back before the exception leaves.
template <class T, class... Args>
T* gc_new(Args&&... args) {
    static_assert(std::is_base_of_v<gc_object, T>, "gc_new makes collected objects only");
    void* block = gc_object_alloc(static_cast<int>(sizeof(T)));
    T* object;
    try {
        object = ::new (block) T(std::forward<Args>(args)...);
    } catch (...) {
        gc_object_abandon(block, static_cast<int>(sizeof(T)));
        throw;
    }
    gc_object_link(object, static_cast<int>(sizeof(T)));
    return object;
}

// Reports bytes allocated outside the collector (decoded images, sounds,
// loaded files) so that large loads hasten a full cycle. Any thread.
inline void gc_ext_malloced(int bytes) {
    gc_ext_new_bytes.fetch_add(bytes, std::memory_order_relaxed);
}

// [SECTION] Marking ----------------------------------------------------------

inline bool gc_is_unmarked(const gc_object* object) {
    return (object->flags & 3) == gc_markbit;
}

// Immediate marking: the object goes to the marked list and its mark() runs
// at once (depth first).
void gc_mark(gc_object* object);
// Queues the object (grey); its mark() runs later, in gc_mark_queued.
void gc_enqueue(gc_object* object);

inline gc_object* gc_object_of(gc_interface* object) {
    return dynamic_cast<gc_object*>(object);
}
inline void gc_mark(gc_interface* object) {
    gc_mark(gc_object_of(object));
}
inline void gc_enqueue(gc_interface* object) {
    gc_enqueue(gc_object_of(object));
}

// Any pointer to a collected class or an interface. A class that derives
// from Object and implements interfaces converts to both gc_object* and
// gc_interface*; these overloads take the object path for it, so marking
// it is not ambiguous.
template <class T>
inline gc_object* gc_object_of(T* object) {
    static_assert(std::is_base_of_v<gc_object, T> || std::is_base_of_v<gc_interface, T>,
                  "only collected objects and interfaces are marked");
    if constexpr (std::is_base_of_v<gc_object, T>) {
        return object;
    } else {
        return gc_object_of(static_cast<gc_interface*>(object));
    }
}
template <class T>
inline void gc_mark(T* object) {
    gc_mark(gc_object_of(object));
}
template <class T>
inline void gc_enqueue(T* object) {
    gc_enqueue(gc_object_of(object));
}

// The write barrier for object references: every store of an object into a
// global or into a field of a collected object.
template <class T, class U>
inline void gc_assign(T*& field, U* object) {
    gc_enqueue(object);
    field = object;
}

// [SECTION] Cycles -----------------------------------------------------------

// Scans queued objects while gc_marked_bytes is below the budget.
void gc_mark_queued(int budget);
// Ends a cycle: unreached objects go to the free list (destroyed lazily).
void gc_sweep();
// One collector step: a full cycle past gc_cycle_bytes, otherwise marking
// work in proportion to allocation.
void gc_collect();
// Finishes the current cycle now: scan, sweep, queue the roots.
void gc_collect_all();
// Runs the destructor of every object waiting on the free list now, instead
// of during later allocations (tests and an orderly shutdown).
void gc_destroy_garbage();

// [SECTION] Roots ------------------------------------------------------------

// gc_mark() without arguments: queues every registered global reference.
void gc_mark();

using gc_root_marker = void (*)(const void* global);
// Registers the address of a global reference with the function that queues
// it; `name` is the global's name in the verifier's reports. Use GC_ROOT
// rather than calling this directly.
bool gc_register_root(const void* global, gc_root_marker marker, const char* name = "a global");

template <class T>
struct gc_root_traits;  // specialised for object pointers here and for Array<T> in array.h

template <class T>
struct gc_root_traits<T*> {
    static void enqueue(const void* global) { gc_enqueue(*static_cast<T* const*>(global)); }
};

// Adding a global reference to the framework or the game is one line next
// to its definition, at namespace scope:   GC_ROOT(zq_app__app);
// Qualified names work too:                GC_ROOT(c_Stack3::m_NIL);
#define GC_ROOT(global)                                                                                    \
    [[maybe_unused]] static const bool GC_ROOT_NAME_(gc_root_registered_, __COUNTER__) = gc_register_root( \
        &(global), &gc_root_traits<std::remove_cvref_t<decltype(global)>>::enqueue, #global)
#define GC_ROOT_NAME_(prefix, n) GC_ROOT_NAME2_(prefix, n)
#define GC_ROOT_NAME2_(prefix, n) prefix##n

// [SECTION] Write-barrier verifier -------------------------------------------

// When set, every sweep first checks the tri-colour invariant the write
// barrier keeps: each reference that a marked object's mark() reports, and
// each registered root, must lead to a marked object. A reference to an
// unmarked object is one the sweep would free while it is still held: a
// store that skipped gc_assign (a plain field store, or `array[i] = object`
// on an already scanned array). The first one found is a fatal runtime
// error naming the holder's class and the unmarked object's class.
//
// On by default in builds configured with TOLVAR_GC_VERIFY (the debug and
// asan presets), and in any build when the environment variable
// TOLVAR_GC_VERIFY is "1" at start-up. Costs one walk of the live objects
// per full cycle.
extern bool gc_verify_enabled;
// The check itself, as the sweep runs it (callable on its own by tests).
void gc_verify_marked();
