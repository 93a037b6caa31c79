// Helpers for tests that drive the collector by hand: a clean collector per
// test and a root slot that tests point at whatever must stay alive.
#pragma once

#include <gtest/gtest.h>

#include "runtime/lang/gc.h"

// The one global root the tests own (registered with GC_ROOT).
extern gc_object* gc_test_root;

// Destroys whatever earlier tests left (root cleared, two full cycles, free
// list drained), then starts from empty lists, zero counters and the roots
// queued, as the host's start-up does.
void gc_start_clean();
// Whether the object sits on the given collector list.
bool gc_on_list(const gc_object& list, const gc_object* object);

class CollectorTest : public ::testing::Test {
  protected:
    void SetUp() override { gc_start_clean(); }
    void TearDown() override { gc_start_clean(); }
};
