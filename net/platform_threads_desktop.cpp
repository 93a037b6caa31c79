// A new detached thread per body (the list is in platform_threads.h).
#include <system_error>
#include <thread>

#include "net/platform_threads.h"

bool zq_RunDetached(std::function<void()> body) {
    try {
        // Thread creation orders everything the caller wrote before the body.
        std::thread(std::move(body)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}
