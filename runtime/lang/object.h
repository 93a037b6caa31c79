// The language's class roots: Object (base of every framework and game
// class) and ThrowableObject (base of everything thrown).
//
// Conventions for subclasses
// - Create with gc_new<c_Foo>() and initialise with the class's m_new(...)
//   methods, which return `this`.
// - Store object fields with gc_assign(field, value); override mark() to
//   gc_enqueue each object or array field (call the base class's mark()).
#pragma once

#include <cstdint>

#include "runtime/lang/gc.h"
#include "runtime/lang/string.h"

class Object : public gc_object {
  public:
    // Identity.
    virtual bool Equals(Object* other) { return this == other; }
    // The order of the two addresses: -1, 0 or 1 (their difference could
    // not be narrowed to an int without losing its sign).
    virtual int Compare(Object* other) {
        auto diff = reinterpret_cast<intptr_t>(this) - reinterpret_cast<intptr_t>(other);
        return diff < 0 ? -1 : (diff > 0 ? 1 : 0);
    }
    // A text for debugging aids.
    virtual String debug() { return String("+Object\n"); }
};

class ThrowableObject : public Object {};
