// The language library's containers: growable stacks (one generic template,
// one thin named class per element type) and an int-keyed red-black map.
//
// Index
//   [SECTION] Generic stack     c_StackBase<T>
//   [SECTION] Named stacks      c_Stack, c_Stack2, c_StringStack
//   [SECTION] Map               c_Node, c_Map, c_IntMap
//
// Ownership and invariants
// - Every container and every map node is a collected object: create it with
//   gc_new<c_Foo>()->m_new(...), keep it reachable from a root across
//   collection points, and never delete it.
// - A stack's storage is `data` (its length is the capacity) and `length`
//   the number of slots in use. Slots at and past `length` always hold
//   m_NIL (null, or the empty string), so no stale reference keeps an object
//   or a string alive: p_Clear and a shrinking p_Length write m_NIL into the
//   slots they give up, and keep the storage allocated.
// - Every store of an object element, of the storage array and of a node
//   link goes through gc_assign, so containers stay correct while a
//   collection cycle is in progress.
// - p_Get does not check its index; pushes of (array, offset, count) only
//   take the indexes that lie inside the array.
// - Main thread only, like the collector.
//
// Adding a stack of another element type (the network layer's c_Stack3 of
// c_IAsyncEventSource*, for one) is a class deriving c_StackBase<T> that
// names its constructors and pushes; T may be a pointer to a gc_object or
// to a gc_interface class, or String.
#pragma once

#include <algorithm>
#include <cstdint>

#include "runtime/lang/array.h"
#include "runtime/lang/display_mode.h"
#include "runtime/lang/gc.h"
#include "runtime/lang/object.h"
#include "runtime/lang/string.h"

// [SECTION] Generic stack ----------------------------------------------------

template <class T>
class c_StackBase : public Object {
  public:
    // Written into every slot a stack gives up: null, or the empty string.
    static inline T m_NIL{};

    Array<T> data;   // the storage; data.Length() is the capacity
    int length = 0;  // slots in use

    // The element without a range check.
    T p_Get(int index) const { return data[index]; }
    int p_Length2() const { return length; }

    // Shrinking writes m_NIL into the slots given up; growing past the
    // capacity reallocates to max(length * 2 + 10, newLength). A negative
    // length counts as 0.
    void p_Length(int newLength) {
        if (newLength < 0) newLength = 0;
        if (newLength < length) {
            for (int i = newLength; i < length; ++i) Store(data[i], m_NIL);
        } else if (newLength > data.Length()) {
            Grow(std::max(length * 2 + 10, newLength));
        }
        length = newLength;
    }

    // Empties the stack; the storage stays allocated.
    void p_Clear() { p_Length(0); }

    // A new array of the elements in order (the empty array when empty).
    Array<T> p_ToArray() const { return data.Slice(0, length); }

    void mark() override {
        Object::mark();
        gc_enqueue(data);
    }

  protected:
    // Takes a copy of the array's elements as the storage.
    void InitFrom(const Array<T>& source) {
        gc_assign(data, source.Slice(0));
        length = data.Length();
    }

    void Push(const T& value) {
        if (length == data.Length()) Grow(length * 2 + 10);
        Store(data[length], value);
        ++length;
    }

    // Pushes values[offset] .. values[offset + count - 1] in order, skipping
    // indexes outside the array. `values` is taken by value: it may be this
    // stack's own storage, which a push replaces.
    void PushRange(Array<T> values, int offset, int count) {
        int64_t begin = std::max(offset, 0);
        int64_t end = std::min<int64_t>(static_cast<int64_t>(offset) + count, values.Length());
        for (int64_t i = begin; i < end; ++i) Push(values[static_cast<int>(i)]);
    }

    void PushFrom(const Array<T>& values, int offset) { PushRange(values, offset, values.Length() - offset); }

    // Identity for object elements, equal text for strings.
    bool Contains(const T& value) const {
        for (int i = 0; i < length; ++i)
            if (data[i] == value) return true;
        return false;
    }

  private:
    // New storage of `capacity` slots holding the elements, the rest m_NIL;
    // storing it marks it at once, so it is scanned in the current cycle.
    void Grow(int capacity) { gc_assign(data, data.Resize(capacity)); }

    static void Store(T& slot, const T& value) {
        if constexpr (tolvar_detail::is_object_ref<T>) {
            gc_assign(slot, value);
        } else {
            slot = value;
        }
    }
};

// [SECTION] Named stacks -----------------------------------------------------

// The framework's display-mode list.
class c_Stack : public c_StackBase<c_DisplayMode*> {
  public:
    c_Stack* m_new() { return this; }
    c_Stack* m_new2(const Array<c_DisplayMode*>& source) {
        InitFrom(source);
        return this;
    }
    void p_Push(c_DisplayMode* value) { Push(value); }
    void p_Push2(const Array<c_DisplayMode*>& values, int offset, int count) {
        PushRange(values, offset, count);
    }
    void p_Push3(const Array<c_DisplayMode*>& values, int offset) { PushFrom(values, offset); }
};

// A stack of strings; the base of c_StringStack.
class c_Stack2 : public c_StackBase<String> {
  public:
    c_Stack2* m_new() { return this; }
    c_Stack2* m_new2(const Array<String>& source) {
        InitFrom(source);
        return this;
    }
    void p_Push4(const String& value) { Push(value); }
    void p_Push5(const Array<String>& values, int offset, int count) { PushRange(values, offset, count); }
    void p_Push6(const Array<String>& values, int offset) { PushFrom(values, offset); }
};

// A stack of strings that can join itself (URL and HTTP text).
class c_StringStack : public c_Stack2 {
  public:
    c_StringStack* m_new(const Array<String>& source) {
        c_Stack2::m_new2(source);
        return this;
    }
    c_StringStack* m_new2() {
        c_Stack2::m_new();
        return this;
    }
    // The elements with `separator` between each two: the empty string for
    // none, the element itself (same representation) for one.
    String p_Join(const String& separator) const { return separator.Join(p_ToArray()); }
};

// [SECTION] Map --------------------------------------------------------------

// A red-black tree node. Colours: -1 red, 1 black.
class c_Node : public Object {
  public:
    int key = 0;
    c_Node* right = nullptr;
    c_Node* left = nullptr;
    c_DisplayMode* value = nullptr;
    int color = 0;
    c_Node* parent = nullptr;

    c_Node* m_new(int key, c_DisplayMode* value, int color, c_Node* parent);
    void mark() override;
};

// An ordered map from int keys to display modes, a red-black tree ordered by
// the virtual p_Compare. Keys are unique; the tree never shrinks (no removal
// is needed).
class c_Map : public Object {
  public:
    static constexpr int kRed = -1;
    static constexpr int kBlack = 1;

    c_Node* root = nullptr;  // null when empty

    c_Map* m_new() { return this; }

    // Negative, zero or positive as a orders before, with or after b.
    virtual int p_Compare(int a, int b) = 0;

    c_Node* p_FindNode(int key);
    bool p_Contains(int key) { return p_FindNode(key) != nullptr; }
    // Replaces the value of an existing key (false, shape unchanged) or adds
    // a node and rebalances (true).
    bool p_Set(int key, c_DisplayMode* value);
    bool p_Insert(int key, c_DisplayMode* value) { return p_Set(key, value); }

    void p_InsertFixup(c_Node* node);
    void p_RotateLeft(c_Node* node);
    void p_RotateRight(c_Node* node);

    void mark() override;

  private:
    // Left and right rotations are mirror images: `toLeft` picks the side.
    void Rotate(c_Node* node, bool toLeft);
};

class c_IntMap : public c_Map {
  public:
    c_IntMap* m_new() {
        c_Map::m_new();
        return this;
    }
    // a - b, except that a difference that does not fit in an int gives -1
    // or 1 instead of wrapping round: the order is the integers' own for
    // every pair of keys.
    int p_Compare(int a, int b) override;
};
