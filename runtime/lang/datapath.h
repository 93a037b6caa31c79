// Data paths: the application folder, the "tolvar://" virtual path scheme
// and the framework's data-path fixing.
//
//   tolvar://data/<rest>      -> <application folder>/data/<rest>
//   tolvar://internal/<rest>  -> <application folder>/internal/<rest>
//   tolvar://external/<rest>  -> <application folder>/external/<rest>
//   tolvar:<anything else>    -> "" (opening the empty path fails)
//   anything else             -> unchanged (relative to the working folder,
//                                or absolute)
//
// The application folder is the folder of the running program file (from
// the platform, platform_files.h), "/"-separated, without a trailing "/".
// On POSIX systems its name is kept through the lossless file-name codec
// (filename.h), so that mapped paths reach the same bytes on disk for any
// folder name; on Windows it is the UTF-16 name itself.
// Mapping does not normalise: "tolvar://data/../x" leaves the data folder,
// as the game's own data paths may.
//
// Threading: every function may run on any thread. The cached folder is
// computed once under the language's static-initialisation guard and kept
// as units; each call returns a String of its own, so no reference count is
// shared between threads.
#pragma once

#include "runtime/lang/string.h"

// The folder of a program path: everything before its last "/" ("." when
// the path holds none; empty for a program in the root folder, so that
// mapped paths still begin with "/").
String zq_FolderOfProgramPath(const String& programPath);

// The application folder, computed on first use and cached for the life of
// the process. "." when the program path cannot be read.
String zq_ApplicationFolder();

// Maps a "tolvar:" path to a file-system path under `applicationFolder`
// (table above); other paths are returned unchanged.
String zq_TolvarPathToFilePath(const String& path, const String& applicationFolder);
// The same under the cached application folder.
String zq_TolvarPathToFilePath(const String& path);

// The framework's data-path rule, applied by the loaders before they call
// the host: a path with a scheme ("x:/..." whose first "/" follows the
// first ":/") and a path beginning with "./" or "/" are returned unchanged;
// anything else is a name in the data folder, "tolvar://data/" + path.
String zq_data_FixDataPath(const String& path);
