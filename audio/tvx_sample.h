// tvxSample: one loaded sound, an OpenAL buffer owned by a collected object.
//
// Ownership
// - A sample owns its OpenAL buffer. Discard() and the collector's
//   destruction give the buffer up by appending its name to
//   tvxSample::discarded; the buffer itself is deleted later by the audio
//   device (tvxAudio::ReleaseDiscarded), once no source holds it any more.
//   A buffer attached to a source cannot be deleted, so it waits in the list.
// - The audio device keeps a sample alive while a channel still sounds it
//   (tvxAudio::mark), so the game may drop a sound while it plays.
//
// Threading: main thread only.
#pragma once

#include <vector>

#include "runtime/lang/gc.h"

class tvxSample : public gc_object {
  public:
    // OpenAL buffer names given up by discarded or destroyed samples and not
    // yet deleted.
    static std::vector<unsigned int> discarded;

    unsigned int buffer = 0;  // OpenAL buffer name; 0 when none

    ~tvxSample() override;

    // Gives the buffer up (to `discarded`); the sample then holds none.
    virtual void Discard();

  private:
    void GiveUpBuffer();
};
