// Placeholder: replaced by the full file, path and saved-state implementation.
#include "runtime/lang/game.h"

std::FILE* ZqGame::OpenFile(String path, String mode) {
    String mapped = PathToFilePath(path);
    if (mapped.IsEmpty()) return nullptr;
    return std::fopen(mapped.ToUtf8().c_str(), mode.ToUtf8().c_str());
}

unsigned char* ZqGame::LoadData(String, int*) { return nullptr; }
int ZqGame::SaveState(String) { return -1; }
String ZqGame::LoadState() { return String(); }
String ZqGame::LoadString(String) { return String(); }
