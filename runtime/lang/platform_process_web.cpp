// The running program's place in the browser (the list is in
// platform_process.h).
//
// The page's file system is Emscripten's, in memory: the program is
// "/skitterwind", so the data package preloaded at /data is the "data"
// folder beside it, as on the desktop. The working folder /save is an
// IndexedDB-backed mount (the page's start-up script mounts it and waits
// for its first sync before the program starts); what is written there
// reaches IndexedDB only through an explicit sync, started here after each
// save. Syncs never overlap: one asked for while another runs follows it.
#include <emscripten.h>

#include "runtime/lang/platform_process.h"

// clang-format off
EM_JS(void, zq_web_SyncSaveFolder, (), {
    if (typeof FS === "undefined" || !FS.syncfs) return;
    const state = Module.tolvarSync || (Module.tolvarSync = {running: false, again: false});
    if (state.running) {
        state.again = true;
        return;
    }
    const run = () => {
        state.running = true;
        state.again = false;
        FS.syncfs(false, (error) => {
            state.running = false;
            if (error) console.error("Skitterwind: saving to the browser's storage failed: " + error);
            if (state.again) run();
        });
    };
    run();
});
// clang-format on

String zq_ProgramPath() {
    return String("/skitterwind");
}

void zq_PersistSavedFiles() {
    zq_web_SyncSaveFolder();
}
