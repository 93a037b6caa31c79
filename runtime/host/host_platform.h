// What the host does differently where the browser owns the page: the one
// list, one file per host kind, selected by the build:
//   host_desktop.cpp  Linux and Windows: a window of the program's own, a
//                     blocking frame loop that sleeps until an update is due,
//                     full screen by opening a new window, quitting ends the
//                     process
//   host_web.cpp      the browser: the page's canvas is the one window for
//                     the whole run, the browser's animation frames repeat
//                     the frame loop's pass, full screen is the page's
//                     request, a hidden tab suspends, and quitting means
//                     nothing (closing the tab is quitting)
//
// Each also defines these members of ZqGlfwGame (glfw_game.h): Run,
// SetGlfwWindow and WaitForNextUpdate. Main thread only.
#pragma once

// Whether the application may end the process (zq_app_EndApp): false on
// the web, where the page stays until its tab is closed.
bool zqHostCanQuit();
