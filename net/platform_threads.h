// How a platform runs a body of code beside the main thread: the one list
// of what a host kind provides to ZqThread (zq_thread.cpp). Each defines it
// in one file, selected by the build:
//   platform_threads_desktop.cpp  Linux and Windows: a new detached thread
//   platform_threads_web.cpp      the browser: the page has no threads (they
//                                 need a cross-origin isolated page), so the
//                                 body runs to its end before the call returns
//
// LIMITATION (web): a body that waits for something blocks the page. The
// socket layer's bodies never wait there: every socket call fails at once
// (platform_sockets_web.cpp).
#pragma once

#include <functional>

// Starts body; false when the system refused a new thread. Main thread.
bool zq_RunDetached(std::function<void()> body);
