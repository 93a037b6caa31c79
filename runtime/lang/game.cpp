// ZqGame: the guarded event methods, the collector step and the date.
// Files and saved state are in files.cpp; Die is in errors.cpp.
#include "runtime/lang/game.h"

#include <ctime>

#include "runtime/lang/platform_console.h"

ZqGame* ZqGame::_game = nullptr;
int glfwGraphicsSeq = 0;
int zq_app__devWidth = 0;
int zq_app__devHeight = 0;

template <class Fn>
void ZqGame::Deliver(Fn&& fn) {
    try {
        fn();
    } catch (ThrowableObject* exception) {
        Die(exception);
    }
    gc_collect();
}

void ZqGame::gc_collect() {
    gc_mark(delegate);
    ::gc_collect();
}

void ZqGame::GetDate(Array<int> date) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    zq_LocalTime(now, local);
    int fields[7] = {
        local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, 0};
    for (int i = 0; i < date.Length() && i < 7; ++i) date[i] = fields[i];
}

void ZqGame::StartGame() {
    if (started) return;
    started = true;
    Deliver([&] { delegate->StartGame(); });
}

void ZqGame::SuspendGame() {
    if (!started || suspended) return;
    suspended = true;
    Deliver([&] { delegate->SuspendGame(); });
}

void ZqGame::ResumeGame() {
    if (!started || !suspended) return;
    suspended = false;
    Deliver([&] { delegate->ResumeGame(); });
}

void ZqGame::UpdateGame() {
    if (!started || suspended) return;
    Deliver([&] { delegate->UpdateGame(); });
}

void ZqGame::RenderGame() {
    if (!started) return;
    Deliver([&] { delegate->RenderGame(); });
}

void ZqGame::KeyEvent(int event, int data) {
    if (!started) return;
    Deliver([&] { delegate->KeyEvent(event, data); });
}

void ZqGame::MouseEvent(int event, int data, float x, float y) {
    if (!started) return;
    Deliver([&] { delegate->MouseEvent(event, data, x, y); });
}

void ZqGame::TouchEvent(int event, int data, float x, float y) {
    if (!started) return;
    Deliver([&] { delegate->TouchEvent(event, data, x, y); });
}

void ZqGame::MotionEvent(int event, int data, float x, float y, float z) {
    if (!started) return;
    Deliver([&] { delegate->MotionEvent(event, data, x, y, z); });
}

void ZqGame::DiscardGraphics() {
    if (!started) return;
    Deliver([&] { delegate->DiscardGraphics(); });
}
