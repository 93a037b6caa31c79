// Module start-up: zqInit() sets every framework and game-module global to
// its default before the roots are queued and the application is created.
//
// A module with globals registers its initialiser next to their definitions:
//     static void zq_graphics_Init() { ... }
//     ZQ_MODULE_INIT(zq_graphics_Init);
// Initialisers run in registration order; they must not depend on each other.
#pragma once

using zq_init_fn = void (*)();

bool zq_register_init(zq_init_fn fn);
// Runs every registered module initialiser (called by the host's zqInit).
void zq_run_module_inits();

// At namespace scope; qualified names work too (ZQ_MODULE_INIT(c_Foo::m_Init)).
#define ZQ_MODULE_INIT(fn)                                                               \
    [[maybe_unused]] static const bool ZQ_INIT_NAME_(zq_init_registered_, __COUNTER__) = \
        zq_register_init(&(fn))
#define ZQ_INIT_NAME_(prefix, n) ZQ_INIT_NAME2_(prefix, n)
#define ZQ_INIT_NAME2_(prefix, n) prefix##n
