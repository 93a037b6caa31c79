// The browser build's end-to-end test: the real page (build/web) served
// over HTTP by scripts/serve-web, in Debian's Chromium, headless, drawing
// with SwiftShader, driven by puppeteer-core with real key events.
//
//   node tests/web/page_test.js [page folder]
//
// It checks, in order: the page loads and the title screen is on the
// canvas; sound starts after the first key; keys change the sound option
// in the options box and the saved state says so; a reload finds the save
// (IndexedDB); F4 does not quit and F11 enters full screen; a level starts
// with the keyboard and plays for a few seconds; a hidden tab pauses it;
// the console shows no error; a new player starts a level with the mouse
// and hears its tune; without WebGL the page says so in one line. It prints the figures it measured (load time, frame times per
// screen) and exits non-zero on the first failed check.
"use strict";

const { spawn } = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");
const puppeteer = require("puppeteer-core");

const root = path.resolve(__dirname, "..", "..");
const pageFolder = path.resolve(process.argv[2] || path.join(root, "build", "web"));
const shots = path.join(root, "build", "web-test");
const chromium = process.env.CHROMIUM || "/usr/bin/chromium";

// The sound mode is the sixth of the saved settings (1 all, 2 effects only).
const kSoundField = 5;

function sleep(ms) {
  return new Promise((resolve) => setTimeout(resolve, ms));
}

function check(condition, what) {
  if (!condition) throw new Error("FAILED: " + what);
  console.log("ok - " + what);
}

// scripts/serve-web on a port of the system's choosing; resolves to its URL.
function startServer() {
  return new Promise((resolve, reject) => {
    const server = spawn("python3", [path.join(root, "scripts", "serve-web"), pageFolder, "0"], {
      stdio: ["ignore", "pipe", "inherit"],
    });
    server.stdout.setEncoding("utf8");
    server.stdout.on("data", (text) => {
      const url = /(http:\/\/127\.0\.0\.1:\d+\/)/.exec(text);
      if (url) resolve({ server, url: url[1] });
    });
    server.on("exit", (code) => reject(new Error("serve-web ended with " + code)));
  });
}

async function launch(extraArgs, profile) {
  const args = [
    "--headless=new",
    "--use-angle=swiftshader",
    "--enable-unsafe-swiftshader",
    "--autoplay-policy=no-user-gesture-required",
    "--window-size=640,480",
    "--user-data-dir=" + profile,
    ...extraArgs,
  ];
  if (process.getuid && process.getuid() === 0) args.push("--no-sandbox");
  return puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args,
    defaultViewport: { width: 640, height: 480 },
  });
}

// The page's own view of the game (web/page.js).
function screenOf(page) {
  return page.evaluate(() => (window.Module && Module.calledRun ? Module.screen() : "starting"));
}

async function waitForScreen(page, wanted, seconds) {
  const end = Date.now() + seconds * 1000;
  let seen = "";
  while (Date.now() < end) {
    seen = await screenOf(page);
    if (wanted.includes(seen)) return seen;
    await sleep(100);
  }
  return seen;
}

// Distinct colours of the page as shown (a screenshot decoded by the page
// itself), counting only colours that cover at least 20 pixels, in 8 levels
// per channel.
async function colours(page, name) {
  const png = await page.screenshot({ encoding: "base64", type: "png" });
  fs.writeFileSync(path.join(shots, name), Buffer.from(png, "base64"));
  return page.evaluate(async (data) => {
    const image = new Image();
    image.src = "data:image/png;base64," + data;
    await image.decode();
    const canvas = document.createElement("canvas");
    canvas.width = image.width;
    canvas.height = image.height;
    const context = canvas.getContext("2d");
    context.drawImage(image, 0, 0);
    const pixels = context.getImageData(0, 0, image.width, image.height).data;
    const buckets = new Map();
    for (let i = 0; i < pixels.length; i += 4) {
      const key = (pixels[i] >> 5) * 64 + (pixels[i + 1] >> 5) * 8 + (pixels[i + 2] >> 5);
      buckets.set(key, (buckets.get(key) || 0) + 1);
    }
    let count = 0;
    for (const n of buckets.values()) if (n >= 20) ++count;
    return count;
  }, png);
}

// A key held long enough for an update to see it.
async function press(page, key) {
  await page.keyboard.down(key);
  await sleep(120);
  await page.keyboard.up(key);
  await sleep(250);
}

// What the browser reports when the player switches tabs (headless
// Chromium has no other tab to switch to).
function setTabHidden(page, hidden) {
  return page.evaluate((hidden) => {
    Object.defineProperty(document, "hidden", { configurable: true, get: () => hidden });
    Object.defineProperty(document, "visibilityState", {
      configurable: true,
      get: () => (hidden ? "hidden" : "visible"),
    });
    document.dispatchEvent(new Event("visibilitychange"));
  }, hidden);
}

function savedFields(page) {
  return page.evaluate(() => {
    try {
      return Module.FS.readFile("/save/.tolvarstate", { encoding: "utf8" }).split("|");
    } catch (e) {
      return [];
    }
  });
}

async function waitForSavedSound(page, wanted, seconds) {
  const end = Date.now() + seconds * 1000;
  let fields = [];
  while (Date.now() < end) {
    fields = await savedFields(page);
    if (fields[kSoundField] === wanted) break;
    await sleep(200);
  }
  return fields;
}

function frameTimes(report) {
  const lines = {};
  for (const line of report.split("\n")) {
    const m = /^stats (\S+) (\d+x\d+) renders=(\d+) median_ms=([\d.]+) p99_ms=([\d.]+)/.exec(line);
    if (m) lines[m[1]] = { size: m[2], renders: +m[3], median: +m[4], p99: +m[5] };
  }
  return lines;
}

async function playThrough(url, profile) {
  const browser = await launch([], profile);
  const errors = [];
  try {
    const page = (await browser.pages())[0] || (await browser.newPage());
    page.on("console", (message) => {
      if (message.type() === "error") errors.push(message.text());
    });
    page.on("pageerror", (error) => errors.push(error.message));

    // ---- Load to the title -------------------------------------------------
    const start = Date.now();
    await page.goto(url + "?stats", { waitUntil: "load" });
    const first = await waitForScreen(page, ["title"], 60);
    const loadMs = Date.now() - start;
    check(first === "title", "the page reaches the title screen (saw " + first + ")");
    await sleep(2500); // the title's slide-in
    const titleColours = await colours(page, "title.png");
    check(titleColours >= 12, "the title is drawn on the canvas (" + titleColours + " colours)");
    const size = await page.evaluate(() => [Module.canvas.width, Module.canvas.height]);
    check(size[0] === 640 && size[1] === 480, "the canvas fills the 640 x 480 page (" + size.join(" x ") + ")");

    // ---- Sound after the first key, the options box ------------------------
    await press(page, "ArrowLeft"); // the gear column
    const audio = await page.evaluate(() =>
      typeof AL !== "undefined" && AL.currentCtx ? AL.currentCtx.audioCtx.state : "none"
    );
    check(audio === "running", "sound runs after the first key (" + audio + ")");
    await press(page, "Enter"); // the options box
    await sleep(600);
    await colours(page, "options.png");
    const before = await savedFields(page);
    await press(page, "ArrowDown"); // the sound line
    await press(page, "Enter"); // all sound -> effects only
    await press(page, "Escape"); // close the box: saved
    const after = await waitForSavedSound(page, "2", 10);
    check(before[kSoundField] !== "2", "the first run starts with all sound (" + (before[kSoundField] || "no save yet") + ")");
    check(after[kSoundField] === "2", "the options box saved effects only (" + after[kSoundField] + ")");
    await sleep(1500); // the save's sync to IndexedDB completes in the background

    // ---- A reload finds the save --------------------------------------------
    await page.reload({ waitUntil: "load" });
    check((await waitForScreen(page, ["title"], 60)) === "title", "the reloaded page reaches the title");
    const reloaded = await savedFields(page);
    check(reloaded[kSoundField] === "2", "the reload found the saved sound option (" + reloaded[kSoundField] + ")");
    await sleep(2500);

    // ---- No quitting in a tab; full screen is the page's -----------------------
    await press(page, "F4");
    await sleep(500);
    check((await screenOf(page)) === "title", "F4 leaves the game running: closing the tab is quitting");
    await press(page, "F11");
    await sleep(800);
    check(await page.evaluate(() => !!document.fullscreenElement), "F11 puts the page in full screen");
    await press(page, "F11");
    await sleep(800);
    check(await page.evaluate(() => !document.fullscreenElement), "F11 again leaves full screen");

    // ---- A level with the keyboard --------------------------------------------
    await press(page, "Enter"); // the wheel's level 1
    const playing = await waitForScreen(page, ["play"], 30);
    check(playing === "play", "Enter on the wheel starts level 1 (saw " + playing + ")");
    await page.keyboard.down("ArrowUp");
    await sleep(2000);
    await page.keyboard.up("ArrowUp");
    await page.keyboard.down("ArrowRight");
    await sleep(2000);
    await page.keyboard.up("ArrowRight");
    const still = await screenOf(page);
    check(["play", "complete", "pause"].includes(still), "four seconds of play later the level goes on (" + still + ")");
    const playColours = await colours(page, "play.png");
    check(playColours >= 8, "the level is drawn (" + playColours + " colours)");

    // ---- A hidden tab suspends the game, which shows its pause on return -----
    await setTabHidden(page, true);
    await sleep(500);
    await setTabHidden(page, false);
    const back = await waitForScreen(page, ["pause"], 5);
    check(back === "pause", "a tab hidden during play comes back paused (" + back + ")");

    const times = frameTimes(await page.evaluate(() => Module.stats()));
    check(errors.length === 0, "the console shows no errors" + (errors.length ? ": " + errors.join(" | ") : ""));
    return { loadMs, times };
  } finally {
    await browser.close();
  }
}

// A new player with the mouse: the title's play button starts level 1,
// whose tune (an Ogg file the program decodes itself) plays.
async function mousePlayer(url, profile) {
  const browser = await launch([], profile);
  try {
    const page = (await browser.pages())[0] || (await browser.newPage());
    await page.goto(url, { waitUntil: "load" });
    check((await waitForScreen(page, ["title"], 60)) === "title", "a new player's page reaches the title");
    await sleep(2500);
    await page.mouse.click(570, 430); // the play button, bottom right
    const playing = await waitForScreen(page, ["play"], 30);
    check(playing === "play", "a click on the play button starts level 1 (saw " + playing + ")");
    await sleep(1000);
    const tune = await page.evaluate(() =>
      Object.values(AL.currentCtx.sources).some((source) => source.state === 0x1012 /* AL_PLAYING */)
    );
    check(tune, "the level's tune plays");
  } finally {
    await browser.close();
  }
}

async function withoutWebGL(url, profile) {
  const browser = await launch(["--disable-webgl", "--disable-3d-apis"], profile);
  try {
    const page = (await browser.pages())[0] || (await browser.newPage());
    await page.goto(url, { waitUntil: "load" });
    const line = await page.$eval("#error", (element) => (element.hidden ? "" : element.textContent));
    check(/needs WebGL/.test(line), "without WebGL the page says so (" + line + ")");
  } finally {
    await browser.close();
  }
}

async function main() {
  fs.mkdirSync(shots, { recursive: true });
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "skitterwind-chromium-"));
  const { server, url } = await startServer();
  try {
    const { loadMs, times } = await playThrough(url, path.join(profile, "player"));
    await mousePlayer(url, path.join(profile, "mouse"));
    await withoutWebGL(url, path.join(profile, "no-webgl"));
    console.log("figure - page load to the title: " + loadMs + " ms");
    for (const [screen, t] of Object.entries(times)) {
      const fps = t.median > 0 ? (1000 / t.median).toFixed(1) : "-";
      console.log(
        `figure - ${screen} ${t.size}: ${t.renders} frames, median ${t.median} ms (${fps} fps), p99 ${t.p99} ms`
      );
    }
    console.log("web page test: passed (screenshots in " + path.relative(root, shots) + ")");
  } finally {
    server.kill();
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

main().catch((error) => {
  console.error(error.message || error);
  process.exit(1);
});
