// No threads in the page: the body runs at once, to its end (the list and
// its limitation are in platform_threads.h).
#include "net/platform_threads.h"

bool zq_RunDetached(std::function<void()> body) {
    body();
    return true;
}
