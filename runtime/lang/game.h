// The platform-neutral host: ZqGame, the event delegate interface
// ZqGameDelegate and the host's display-mode record.
//
// ZqGame is a plain heap object created once at start-up and never
// collected; ZqGlfwGame (runtime/host) derives from it and adds the window,
// the frame loop and the platform services. Everything here runs on the main
// thread.
//
// Event methods (StartGame .. DiscardGraphics) guard against the lifecycle
// state, hand the event to the delegate inside a handler that turns an
// escaped ThrowableObject into Die(), and then run one collector step. When
// the guard fails nothing is called and no collection runs.
#pragma once

#include <cstdio>

#include "runtime/lang/array.h"
#include "runtime/lang/object.h"
#include "runtime/lang/string.h"

// Receives every host event. Every default body does nothing.
class ZqGameDelegate : public Object {
  public:
    virtual void StartGame() {}
    virtual void SuspendGame() {}
    virtual void ResumeGame() {}
    virtual void UpdateGame() {}
    virtual void RenderGame() {}
    virtual void KeyEvent(int /*event*/, int /*data*/) {}
    virtual void MouseEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {}
    virtual void TouchEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {}
    virtual void MotionEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/, float /*z*/) {}
    virtual void DiscardGraphics() {}
};

// A video mode as the host reports it; the three further fields are always 0.
class ZqDisplayMode : public Object {
  public:
    int width = 0;
    int height = 0;
    int format = 0;
    int depth = 0;
    int hertz = 0;

    ZqDisplayMode(int w, int h) : width(w), height(h) {}
};

// Incremented each time a window, and so a new OpenGL context, is opened.
// Textures remember the value current when they were made (graphics).
extern int glfwGraphicsSeq;

// The device (window client) size in pixels as the framework last refreshed
// it from the host, before every update and render. Read by the graphics
// front end for the frame's full-window scissor; written by the app module.
extern int zq_app__devWidth;
extern int zq_app__devHeight;

class ZqGame {
  public:
    // The one host object (set by the host's start-up).
    static ZqGame* _game;

    ZqGameDelegate* delegate = nullptr;  // collected; marked by gc_collect
    bool keyboardEnabled = false;
    int updateRate = 0;  // updates per second; 0 = one per rendered frame
    bool started = false;
    bool suspended = false;

    ZqGame() = default;
    ZqGame(const ZqGame&) = delete;
    ZqGame& operator=(const ZqGame&) = delete;
    virtual ~ZqGame() = default;

    virtual void SetDelegate(ZqGameDelegate* d) { delegate = d; }
    virtual ZqGameDelegate* Delegate() { return delegate; }
    virtual void SetKeyboardEnabled(bool enabled) { keyboardEnabled = enabled; }
    virtual bool KeyboardEnabled() { return keyboardEnabled; }
    virtual void SetUpdateRate(int rate) { updateRate = rate; }
    virtual int UpdateRate() { return updateRate; }
    virtual bool Started() { return started; }
    virtual bool Suspended() { return suspended; }
    virtual int Millisecs() { return 0; }
    // Fills up to 7 leading elements: year, month, day, hour, minute,
    // second, 0 milliseconds, from the local time.
    virtual void GetDate(Array<int> date);
    // Writes the state string as UTF-8 to "./.tolvarstate", atomically:
    // 0 on success, -1 when the file cannot be created, -2 on a short write.
    virtual int SaveState(String state);
    // The text of "./.tolvarstate", or the empty string.
    virtual String LoadState();
    // The whole file as text (encoding detected), or the empty string.
    virtual String LoadString(String path);
    virtual bool PollJoystick(int /*port*/, Array<float> /*joyx*/, Array<float> /*joyy*/,
                              Array<float> /*joyz*/, Array<bool> /*buttons*/) {
        return false;
    }
    virtual void OpenUrl(String /*url*/) {}
    virtual void SetMouseVisible(bool /*visible*/) {}
    virtual int GetDeviceWidth() { return 0; }
    virtual int GetDeviceHeight() { return 0; }
    virtual void SetDeviceWindow(int /*width*/, int /*height*/, int /*flags*/) {}
    virtual Array<ZqDisplayMode*> GetDisplayModes() { return Array<ZqDisplayMode*>(); }
    virtual ZqDisplayMode* GetDesktopMode() { return nullptr; }
    virtual void SetSwapInterval(int /*interval*/) {}
    // Maps a virtual path to a file-system path; here unchanged.
    virtual String PathToFilePath(String path) { return path; }
    // Opens the mapped path with the given mode; null when it cannot.
    virtual std::FILE* OpenFile(String path, String mode);
    // The whole file in one malloc'ed block the caller owns (null when it
    // cannot be read; `length` is then untouched). Reports the bytes to the
    // collector as external allocation.
    virtual unsigned char* LoadData(String path, int* length);
    // Decoded pixels (malloc'ed, caller frees) or null. Graphics provides it.
    virtual unsigned char* LoadImageData(String /*path*/, int* /*width*/, int* /*height*/, int* /*depth*/) {
        return nullptr;
    }
    // Decoded PCM (malloc'ed, caller frees) or null. Audio provides it.
    virtual unsigned char* LoadAudioData(String /*path*/, int* /*length*/, int* /*channels*/, int* /*format*/,
                                         int* /*hertz*/) {
        return nullptr;
    }
    // An exception no application code caught: prints the banner, exits -1.
    [[noreturn]] virtual void Die(ThrowableObject* exception);
    // One collector step, keeping the delegate alive.
    virtual void gc_collect();

    virtual void StartGame();
    virtual void SuspendGame();
    virtual void ResumeGame();
    virtual void UpdateGame();
    virtual void RenderGame();
    virtual void KeyEvent(int event, int data);
    virtual void MouseEvent(int event, int data, float x, float y);
    virtual void TouchEvent(int event, int data, float x, float y);
    virtual void MotionEvent(int event, int data, float x, float y, float z);
    virtual void DiscardGraphics();

  private:
    // Calls fn() on the delegate, turning an escaped ThrowableObject into
    // Die(), then runs one collector step.
    template <class Fn>
    void Deliver(Fn&& fn);
};
