// The host of a program's session, chosen from its command line: a
// watching replay host for --replay FILE, otherwise the desktop host with
// the session recorded. A live session is always recorded as
// ".<program>-last.rec" in the working folder, beside the saved state
// (overwritten at each start), and also to FILE with --record FILE; a
// watched session records nothing.
//
// Called once by ZqTolvarGame::Main, before GLFW starts: a recording that
// cannot be watched (missing, not a recording, wrong format, damaged
// header) is reported in one line on standard error and the process ends
// with exit code 2 before any window opens. Main thread only.
#pragma once

#include <string>

#include "runtime/host/options.h"
#include "runtime/host/tolvar_game.h"

// The program's version as --version prints it.
const char* zqProgramVersion();
// ".<program>-last.rec": the automatic recording of the last live session.
std::string zqLastSessionPath(const std::string& program);

// `argv0` names the program (its base name is used).
ZqTolvarGame* zqCreateSessionHost(const ZqOptions& options, const char* argv0);
