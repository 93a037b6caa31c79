// c_DisplayMode: a screen size as the framework lists it (the display-mode
// list and the desktop mode). A collected object; main thread only.
#pragma once

#include "runtime/lang/object.h"

class c_DisplayMode : public Object {
  public:
    int width = 0;
    int height = 0;

    c_DisplayMode* m_new(int w, int h) {
        width = w;
        height = h;
        return this;
    }
};
