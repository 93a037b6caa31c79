#include "runtime/lang/init.h"

#include <vector>

namespace {
std::vector<zq_init_fn>& registry() {
    static std::vector<zq_init_fn> fns;
    return fns;
}
}  // namespace

bool zq_register_init(zq_init_fn fn) {
    registry().push_back(fn);
    return true;
}

void zq_run_module_inits() {
    for (zq_init_fn fn : registry()) fn();
}
