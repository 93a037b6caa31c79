// tvxSample: giving up the OpenAL buffer. Deleting it is the device's job
// (tvxAudio::ReleaseDiscarded), because only the device knows which sources
// may still hold it.
#include "audio/tvx_sample.h"

std::vector<unsigned int> tvxSample::discarded;

tvxSample::~tvxSample() {
    GiveUpBuffer();
}

void tvxSample::Discard() {
    GiveUpBuffer();
}

void tvxSample::GiveUpBuffer() {
    if (buffer == 0) return;
    discarded.push_back(buffer);
    buffer = 0;
}
