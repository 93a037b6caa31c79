// The game program: names its application class for the host's main().
#include "game/my_app.h"
#include "runtime/host/tolvar_game.h"

ZQ_APPLICATION(c_MyApp);
