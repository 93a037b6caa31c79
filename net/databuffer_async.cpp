#include "net/databuffer_async.h"

#include <cstdlib>

#include "runtime/lang/game.h"

bool zq_databuffer_LoadAsync(ZqDataBuffer* buffer, const String& path, ZqThread* thread) {
    if (buffer->data != nullptr || ZqGame::_game == nullptr) return false;
    int length = 0;
    unsigned char* block = ZqGame::_game->LoadData(path, &length);
    if (block == nullptr) return false;
    if (!buffer->_New(length, block)) {
        std::free(block);
        return false;
    }
    thread->SetResult(buffer);
    return true;
}
