// The framework's application module (zq_app): the globals that tie the
// host, the application object and the delegate together, and the functions
// through which the framework and the game reach the host.
//
// Ownership: zq_app__game is the host (a plain heap object, never
// collected); the object globals are collector roots. zqInit sets every
// global to its default before the application object is created. Main
// thread only.
#pragma once

#include "runtime/lang/array.h"
#include "runtime/lang/display_mode.h"
#include "runtime/lang/game.h"
#include "runtime/lang/string.h"

class c_App;
class c_GameDelegate;

extern ZqGame* zq_app__game;                        // the host
extern c_App* zq_app__app;                          // the one application object
extern c_GameDelegate* zq_app__delegate;            // the one framework delegate
extern int zq_app__updateRate;                      // updates per second, as last set
extern Array<c_DisplayMode*> zq_app__displayModes;  // one per distinct size, host order
extern c_DisplayMode* zq_app__desktopMode;          // null until the game starts
// zq_app__devWidth / zq_app__devHeight: the window size in pixels as last
// refreshed; declared with the host class (runtime/lang/game.h).

// Sets the module's globals to their defaults (called by zqInit).
void zq_app_InitGlobals(ZqGame* host);

// Ends the application: the runtime error with the empty message, which
// exits with code 0. In a browser tab there is no process to end and it
// returns at once (host_platform.h).
void zq_app_EndApp();
String zq_app_LoadState();
// Writes the state through the host; a failed save is silent.
void zq_app_SaveState(String state);
void zq_app_SetUpdateRate(int rate);
int zq_app_Millisecs();
// Refreshes zq_app__devWidth / zq_app__devHeight from the host's window.
// There is no resize callback, so `notify` has no further effect.
void zq_app_ValidateDeviceWindow(bool notify);
int zq_app_DeviceWidth();
int zq_app_DeviceHeight();
// Lists the host's display modes, keeping the first of each size in the
// order of first appearance, and reads the desktop mode (the device size
// when the host reports none).
void zq_app_EnumDisplayModes();
