// Test support: X input and window queries (see x11_driver.h).
#include "tests/host/x11_driver.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace xdriver {
namespace {

struct DisplayCloser {
    void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

DisplayPtr Open() {
    return DisplayPtr(XOpenDisplay(nullptr));
}

std::string TitleOf(Display* d, Window w) {
    char* name = nullptr;
    std::string out;
    if (XFetchName(d, w, &name) && name) out = name;
    if (name) XFree(name);
    return out;
}

// Depth-first search below `parent` for a viewable window with the title.
Window Search(Display* d, Window parent, const std::string& title) {
    Window root = 0, up = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, parent, &root, &up, &children, &count)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(d, children[i], &attributes) && attributes.map_state == IsViewable &&
            TitleOf(d, children[i]) == title)
            found = children[i];
        if (!found) found = Search(d, children[i], title);
    }
    if (children) XFree(children);
    return found;
}

}  // namespace

std::string Run(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[256];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

void Xdotool(const std::string& args) {
    Run("xdotool " + args + " 2>/dev/null");
}

unsigned long FindWindow(const std::string& title) {
    DisplayPtr d = Open();
    return d ? Search(d.get(), DefaultRootWindow(d.get()), title) : 0;
}

unsigned long RootWindowId() {
    DisplayPtr d = Open();
    return d ? DefaultRootWindow(d.get()) : 0;
}

std::string WindowTitle(unsigned long window) {
    DisplayPtr d = Open();
    return d ? TitleOf(d.get(), window) : std::string();
}

bool WindowGeometry(unsigned long window, int* x, int* y, int* width, int* height) {
    DisplayPtr d = Open();
    XWindowAttributes a;
    if (!d || !XGetWindowAttributes(d.get(), window, &a)) return false;
    Window child = 0;
    XTranslateCoordinates(d.get(), window, DefaultRootWindow(d.get()), 0, 0, x, y, &child);
    *width = a.width;
    *height = a.height;
    return true;
}

unsigned long FocusedWindow() {
    DisplayPtr d = Open();
    if (!d) return 0;
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(d.get(), &focus, &revert);
    return focus;
}

void SendDeleteRequest(unsigned long window) {
    DisplayPtr d = Open();
    if (!d) return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d.get(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d.get(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d.get(), window, False, NoEventMask, &event);
    XSync(d.get(), False);
}

}  // namespace xdriver
