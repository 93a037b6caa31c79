// The game module's globals and their values at program start. The host's
// zqInit runs game_InitGlobals before the application object is created, so
// every run (and every test that calls zqInit) starts from these values.
#include "game/credits_text.h"
#include "game/my_app.h"
#include "runtime/lang/init.h"

int GameNum;
int DebugMode;
int UseHDImages;
float overscan;
float vscrw, vscrh;
float rawscrw, rawscrh;
Array<String> CreditText;
GC_ROOT(CreditText);
int HasMusicStream;
int iCadeControls;
int OnScreenControls;
int AccelerometerControls;
int Stats_Able;
int Stats_Allow;
String Stats_Endpoint;
int isConsole;

static void game_InitGlobals() {
    GameNum = 415;
    DebugMode = 0;
    UseHDImages = 1;
    overscan = 0.0f;
    vscrw = rawscrw = 640.0f;
    vscrh = rawscrh = 480.0f;
    gc_assign(CreditText, MakeCreditText());
    HasMusicStream = 1;
    iCadeControls = 0;
    OnScreenControls = 0;
    AccelerometerControls = 0;
    Stats_Able = 0;
    Stats_Allow = 0;
    // The reserved .invalid domain never resolves: even a switch turned on
    // by mistake contacts no real server.
    Stats_Endpoint = String("http://stats.skitterwind.invalid/checkin.php");
    isConsole = 0;
}
ZQ_MODULE_INIT(game_InitGlobals);
