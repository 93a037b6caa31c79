// The platform's part of files, data paths and the saved state: the one
// list of what a platform provides to the language runtime's file code.
// Each platform defines all of it in one file, selected by the build:
//   platform_files_posix.cpp    Linux and other POSIX systems, the
//                               browser's file system included
//   platform_files_windows.cpp  Windows
//
// File names are given as text (String). On POSIX systems they reach the
// file system through the lossless file-name codec (filename.h); on Windows
// a String's 16-bit units are the UTF-16 name itself. The state file's own
// names (its target and temporaries) are kept as bytes of that codec, so
// that the portable save algorithm (state_file.cpp) can build them.
//
// Threading: zq_OpenFileName may run on any thread; the
// state-file functions run on the main thread.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "runtime/lang/string.h"

// [SECTION] Files ------------------------------------------------------------

// Opens the named file with the C library's mode ("rb", "wb"); null when it
// cannot, or when the name holds a unit 0 (which would name another file).
std::FILE* zq_OpenFileName(const String& name, const char* mode);

// What identifies a regular file's current content cheaply: where it is
// and when it last changed.
struct zq_FileFacts {
    std::uint64_t device = 0;  // file system (volume) it lives on
    std::uint64_t inode = 0;   // its number there
    std::int64_t size = -1;    // bytes
    std::int64_t mtimeNs = 0;  // last change, nanoseconds since the epoch
};
// False when the name is not an existing regular file.
bool zq_FileFactsOf(const String& name, zq_FileFacts& facts);

// [SECTION] Saved-state file -----------------------------------------------

// The file a save replaces, as codec bytes: the state path itself, or where
// the platform follows links, the file the links lead to.
std::string zq_StateFileTarget(const char* statePath);

// Removes the temporaries that saves of ended processes left beside the
// target. Temporaries of live processes are left alone.
void zq_RemoveStaleTemporaries(const std::string& target);

// True when the target exists and this process may not write it (a state
// file made read-only by its owner): a save must then leave it alone.
bool zq_IsReadOnlyFile(const std::string& target);

// Creates a fresh temporary beside the target, for writing, with the
// target's permissions when it exists. Returns null when it cannot; `denied`
// then tells whether the folder refused the new file (no permission to
// create it), as opposed to any other failure.
std::FILE* zq_CreateTemporaryFor(const std::string& target, std::string& temporary, bool& denied);

// Flushes the stream and makes its bytes durable on disk; false on failure.
// The stream stays open.
bool zq_SyncFile(std::FILE* stream);

// Puts the closed temporary in the target's place in one step, durably;
// false when it cannot (the temporary is then still there).
bool zq_ReplaceFile(const std::string& temporary, const std::string& target);

// Deletes a file; errors are ignored.
void zq_RemoveFile(const std::string& name);
