// Linked into skitterwind.js ahead of the program (--pre-js).
//
// The end of the process: exit (a fatal error's, "Tolvar Runtime Error")
// stops the program for good. The runtime stays alive for the page's main
// loop, which would otherwise go on calling into a program that has ended.
// The page hears of it through Module.onExit.
Module.quit = function (status, toThrow) {
  if (!ABORT && Module.onExit) Module.onExit(status);
  ABORT = true;
  throw toThrow;
};

// The folder the game saves in. /save is backed by the browser's IndexedDB; the
// program starts only once the first sync has brought the last save back,
// so a reload or a new visit finds it. It is the working folder, where
// .tolvarstate and the last session's recording live. The program syncs it
// back after each save (runtime/lang/platform_process_web.cpp).
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  FS.mkdir("/save");
  FS.mount(IDBFS, {}, "/save");
  FS.chdir("/save");
  addRunDependency("skitterwind-save-folder");
  FS.syncfs(true, function (error) {
    if (error) console.warn("Skitterwind: the saved game could not be read from the browser's storage: " + error);
    removeRunDependency("skitterwind-save-folder");
  });
});
