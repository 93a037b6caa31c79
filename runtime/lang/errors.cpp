// Placeholder: replaced by the full error and debugger implementation.
#include "runtime/lang/errors.h"

#include <cstdlib>

#include "runtime/lang/game.h"

void zqPrint(const String& text) {
    std::string out = text.ToUtf8();
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
}

void zqDebugLog(const String& text) { zqPrint(text); }

void zqError(const String& message) {
    if (message.IsEmpty()) std::exit(0);
    zqPrint(String("Tolvar Runtime Error : ") + message);
    std::exit(-1);
}

void ZqGame::Die(ThrowableObject*) {
    zqPrint(String("Tolvar Runtime Error : Uncaught Tolvar Exception"));
    std::exit(-1);
}
