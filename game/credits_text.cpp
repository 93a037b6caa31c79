// The credits that scroll on the title screen: 57 lines in a fixed order
// (heading, separator groups, the people and tools behind each part of the
// game), ending with "-=-=-" and "End". The title screen cycles through all
// lines but the last, so "End" is never shown.
//
// Everything here names what really made the game: our own runtime, our
// data generator and the free libraries and tools the build stands on.
#include "game/credits_text.h"

namespace {

const char* const kLines[] = {
    "",
    "A Game by",
    "the Skitterwind developers",
    "from their own source tree",
    "",
    "-=-=-",
    "",
    "Developed using",
    "Tolvar (C++20)",
    "our own small 2D runtime",
    "",
    "-=-=-",
    "",
    "Graphics",
    "",
    "Most graphics by",
    "our data generator",
    "",
    "Font : Shadow Pixel",
    "drawn by our data generator",
    "Lowercase added by",
    "the same generator",
    "",
    "",
    "-=-=-",
    "",
    "Audio",
    "",
    "Sound and Music by",
    "our data generator",
    "using our own synthesizer,",
    "our own WAV writer,",
    "libvorbis for the tune,",
    "and libogg to wrap it",
    "or whatever else",
    "was handy!",
    "",
    "-=-=-",
    "",
    "",
    "Hello to",
    "you, the player",
    "",
    "Thanks to",
    "GLFW",
    "OpenAL Soft",
    "Mesa",
    "stb",
    "libvorbis",
    "GoogleTest",
    "CMake",
    "Debian",
    "And everyone Else",
    "at freedesktop.org",
    "",
    "-=-=-",
    "End",
};

constexpr int kLineCount = sizeof(kLines) / sizeof(kLines[0]);
static_assert(kLineCount == 57, "the credits have 57 lines");

}  // namespace

Array<String> MakeCreditText() {
    Array<String> lines(kLineCount);
    for (int i = 0; i < kLineCount; ++i) lines[i] = String(kLines[i]);
    return lines;
}
