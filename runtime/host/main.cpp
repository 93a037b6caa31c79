// The process entry of every Tolvar program (library tolvar_host_main).
#include "runtime/host/tolvar_game.h"

int main(int argc, char** argv) {
    return ZqTolvarGame::Main(argc, argv);
}
