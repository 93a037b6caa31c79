// Array<T>: a value holding one pointer to a shared, collected
// representation (length + elements). Copying an Array shares the
// representation; nothing is copied until Resize or Slice.
//
// Ownership and invariants
// - The representation is a gc_object: it lives as long as it is reachable
//   from a root. A global or field of array type is stored with gc_assign,
//   which marks the new representation at once (a freshly grown container
//   array is scanned immediately).
// - Each element type has one static empty representation, Rep::nullRep
//   (permanent, never marked, moved or freed); every empty array uses it.
// - Rep::mark() marks object elements at once; String and number elements
//   need no marking. Rep's destructor releases String elements.
// - Element access is not range-checked.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <type_traits>

#include "runtime/lang/gc.h"

namespace tolvar_detail {
// Elements that are references to collected objects or interfaces.
template <class T>
constexpr bool is_object_ref = std::is_pointer_v<T> &&
                               (std::is_base_of_v<gc_object, std::remove_cv_t<std::remove_pointer_t<T>>> ||
                                std::is_base_of_v<gc_interface, std::remove_cv_t<std::remove_pointer_t<T>>>);
}  // namespace tolvar_detail

template <class T>
class Array {
  public:
    struct Rep : gc_object {
        int length;

        explicit Rep(int n) : length(n) {
            for (int i = 0; i < n; ++i) ::new (data() + i) T();
        }
        struct permanent_tag {};
        constexpr explicit Rep(permanent_tag) : gc_object(3), length(0) {}
        ~Rep() override {
            if constexpr (!std::is_trivially_destructible_v<T>)
                for (int i = 0; i < length; ++i) data()[i].~T();
        }
        void mark() override {
            if constexpr (tolvar_detail::is_object_ref<T>) {
                // Elements are scattered over the heap: fetch a few ahead so
                // that a long array is not marked at memory-latency speed.
                constexpr int ahead = 16;
                for (int i = 0; i < length; ++i) {
                    if (i + ahead < length) __builtin_prefetch(gc_object_of(data()[i + ahead]));
                    gc_mark(data()[i]);
                }
            }
        }
        T* data() { return reinterpret_cast<T*>(this + 1); }

        static Rep nullRep;
    };
    static_assert(sizeof(Rep) % alignof(T) == 0, "elements follow the header");

    Rep* rep;

    Array() noexcept : rep(&Rep::nullRep) {}
    // n elements, zero-filled (null objects, empty strings); n <= 0 is empty.
    explicit Array(int n) : rep(n > 0 ? make(n) : &Rep::nullRep) {}
    // n elements copied from p.
    Array(const T* p, int n) : Array(n) {
        for (int i = 0; i < n; ++i) rep->data()[i] = p[i];
    }
    explicit Array(Rep* r) noexcept : rep(r) {}

    int Length() const { return rep->length; }
    T& operator[](int i) const { return rep->data()[i]; }
    T* Data() const { return rep->data(); }
    T* begin() const { return rep->data(); }
    T* end() const { return rep->data() + rep->length; }

    // A new representation of n elements: the first min(length, n) copied,
    // the rest zero-filled. The old one is left to the collector.
    Array Resize(int n) const {
        Array out(n);
        int keep = std::min(n, Length());
        for (int i = 0; i < keep; ++i) out[i] = (*this)[i];
        return out;
    }

    // Elements [from, to) with the clamping of String::Slice.
    Array Slice(int from, int to) const {
        int len = Length();
        if (from < 0) from = std::max(from + len, 0);
        if (from > len) from = len;
        if (to < 0) to += len;
        if (to > len) to = len;
        if (to <= from) return Array();
        return Array(Data() + from, to - from);
    }
    Array Slice(int from) const { return Slice(from, Length()); }

  private:
    static Rep* make(int n) {
        // The collector counts bytes in an int: a larger array cannot exist.
        // Treated like a failing system allocator.
        if (n > (2147483647 - 64 - static_cast<int>(sizeof(Rep))) / static_cast<int>(sizeof(T))) std::abort();
        int bytes = static_cast<int>(sizeof(Rep)) + n * static_cast<int>(sizeof(T));
        void* block = gc_object_alloc(bytes);
        Rep* r = ::new (block) Rep(n);
        gc_object_link(r, bytes);
        return r;
    }
};

// Constant-initialised, so every empty Array made by a dynamic initialiser
// anywhere points at a complete representation.
template <class T>
constinit typename Array<T>::Rep Array<T>::Rep::nullRep{typename Array<T>::Rep::permanent_tag{}};

// Array stores into globals and fields mark the new representation at once.
template <class T>
inline void gc_mark(const Array<T>& array) {
    gc_mark(array.rep);
}
template <class T>
inline void gc_enqueue(const Array<T>& array) {
    gc_enqueue(array.rep);
}
template <class T>
inline void gc_assign(Array<T>& field, const Array<T>& value) {
    gc_mark(value.rep);
    field = value;
}

template <class T>
struct gc_root_traits<Array<T>> {
    static void enqueue(const void* global) { gc_enqueue(*static_cast<const Array<T>*>(global)); }
};
