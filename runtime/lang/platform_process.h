// Where the running program is, and how the files it saves outlast it: the
// one list of what a platform provides here. Each platform defines all of it
// in one file, selected by the build:
//   platform_process_posix.cpp    Linux: the program from /proc/self/exe; a
//                                 synced file is kept
//   platform_process_windows.cpp  Windows: GetModuleFileNameW; a synced file
//                                 is kept
//   platform_process_web.cpp      the browser: the program is /skitterwind in
//                                 the page's file system, and saved files
//                                 reach the browser's storage only when the
//                                 page's file system is synced to it
//
// Threading: zq_ProgramPath may run on any thread; zq_PersistSavedFiles on
// the main thread.
#pragma once

#include "runtime/lang/string.h"

// The running program's full path with "/" as the separator; empty when
// the platform cannot tell.
String zq_ProgramPath();

// Called after every successful save: makes what was written outlast the
// process (and the page). Returns at once; on the web the copy to the
// browser's storage completes in the background, whole or not at all.
void zq_PersistSavedFiles();
