// The showcase program: names its application class for the host's main().
#include "runtime/host/tolvar_game.h"
#include "tools/showcase/showcase_app.h"

ZQ_APPLICATION(c_ShowcaseApp);
