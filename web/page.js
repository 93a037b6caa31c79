// The page around the game: it checks for WebGL, shows the download's
// progress, asks for the gesture the browser wants before it plays sound,
// enters and leaves full screen for the game, shows a fatal error, and then
// loads the program (skitterwind.js, which starts with the Module below).
"use strict";

(function () {
  const stage = document.getElementById("stage");
  const canvas = document.getElementById("canvas");
  const loading = document.getElementById("loading");
  const loadingText = document.getElementById("loading-text");
  const loadingBar = document.getElementById("loading-bar");
  const soundPrompt = document.getElementById("sound-prompt");
  const errorLine = document.getElementById("error");

  function showError(text) {
    loading.hidden = true;
    soundPrompt.hidden = true;
    errorLine.textContent = text;
    errorLine.hidden = false;
  }

  function hasWebGL() {
    try {
      return !!document.createElement("canvas").getContext("webgl");
    } catch (e) {
      return false;
    }
  }

  // The data package is fetched like any download, which a page opened
  // from a file may not do.
  if (window.location.protocol === "file:") {
    showError("Skitterwind must be served over HTTP: run `make serve-web` and open http://127.0.0.1:8080/.");
    return;
  }

  if (!hasWebGL()) {
    showError("Skitterwind needs WebGL, which this browser does not offer.");
    return;
  }

  // ---- Sound: the browser holds it back until a key or a click ----------------
  function audioContext() {
    return typeof AL !== "undefined" && AL.currentCtx ? AL.currentCtx.audioCtx : null;
  }
  function updateSoundPrompt() {
    const context = audioContext();
    soundPrompt.hidden = !context || context.state !== "suspended" || !errorLine.hidden;
  }
  setInterval(updateSoundPrompt, 250);

  // ---- Full screen: asked for by the game, allowed only after a gesture --------
  let wantFullscreen = false;
  function applyFullscreen() {
    const active = !!document.fullscreenElement;
    if (wantFullscreen && !active && stage.requestFullscreen) {
      const allowed = !navigator.userActivation || navigator.userActivation.isActive;
      if (allowed) stage.requestFullscreen().catch(function () {});
    } else if (!wantFullscreen && active && document.exitFullscreen) {
      document.exitFullscreen().catch(function () {});
    }
  }
  // A request the browser refused waits for the player's next key or click.
  window.addEventListener("keydown", applyFullscreen);
  window.addEventListener("pointerdown", applyFullscreen);
  // Leaving full screen the browser's way (Escape) is the player's choice.
  document.addEventListener("fullscreenchange", function () {
    if (!document.fullscreenElement) wantFullscreen = false;
  });

  // ---- The program's module --------------------------------------------------
  let lastLine = "";
  function remember(text) {
    if (text) lastLine = String(text);
  }

  // ?stats measures frame times per screen, as --stats does on the desktop.
  const options = new URLSearchParams(window.location.search);

  window.Module = {
    canvas: canvas,
    arguments: options.has("stats") ? ["--stats"] : [],
    print: function (text) {
      remember(text);
      console.log(text);
    },
    printErr: function (text) {
      remember(text);
      console.warn(text);
    },
    // "Downloading data... (12345/67890)" while the data package loads.
    setStatus: function (text) {
      const progress = /\((\d+(?:\.\d+)?)\/(\d+(?:\.\d+)?)\)/.exec(text || "");
      if (progress) {
        const share = Number(progress[1]) / Math.max(1, Number(progress[2]));
        loadingBar.style.width = Math.round(share * 100) + "%";
        loadingText.textContent = "Loading Skitterwind… " + Math.round(share * 100) + " %";
      }
    },
    onRuntimeInitialized: function () {
      loading.hidden = true;
      canvas.focus();
      updateSoundPrompt();
    },
    onExit: function (code) {
      if (code !== 0) showError("Skitterwind stopped: " + (lastLine || "exit code " + code));
    },
    onAbort: function (what) {
      showError("Skitterwind stopped: " + (lastLine || what));
    },
    // The screen the game shows and the frame-time report (?stats).
    screen: function () {
      return window.Module.ccall("tolvar_web_screen", "string", [], []);
    },
    stats: function () {
      return window.Module.ccall("tolvar_web_stats", "string", [], []);
    },
    tolvarSetFullscreen: function (on) {
      wantFullscreen = on;
      applyFullscreen();
    },
  };

  canvas.addEventListener("contextmenu", function (event) {
    event.preventDefault();
  });
  canvas.addEventListener("pointerdown", function () {
    canvas.focus();
  });

  const program = document.createElement("script");
  program.src = "skitterwind.js";
  program.async = true;
  program.onerror = function () {
    showError("Skitterwind could not be loaded: skitterwind.js is missing beside the page.");
  };
  document.body.appendChild(program);
})();
