#!/bin/sh
# End to end, the Windows zip as a player meets it: unpacked into a folder
# whose name holds accents and emoji, skitterwind.exe started under Wine
# from there (so that folder is its working folder), on the test's X
# server. It must print its start-up lines to the redirected standard
# output (a windowed program), show the title screen, save an options
# change to .tolvarstate in its working folder, and end with exit code 0 on
# F4.
#
#   zip_e2e_test.sh ZIP [NATIVE_PROGRAM]
#
# With NATIVE_PROGRAM (the Linux build of the game), the same start is
# timed natively too, and both times to the first title frame are printed.
# Screenshots are kept in the folder named by $ZIP_E2E_SHOTS when set.
set -u
zip=$1
native=${2:-}

fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d /tmp/skitterwind_zip_e2e_XXXXXX)
trap 'rm -rf "$work"' EXIT
folder="$work/Spiele für Käfer – ✨🐞"
mkdir -p "$folder"
unzip -q "$zip" -d "$folder" || fail "cannot unpack $zip"
game="$folder/Skitterwind"
[ -f "$game/skitterwind.exe" ] && [ -f "$game/OpenAL32.dll" ] && [ -d "$game/data" ] && [ -f "$game/README.txt" ] \
  || fail "the zip lacks a file"

now() { date +%s.%N; }
# The mean colour of a 10 x 10 patch of a window's screenshot: "r g b".
patch_colour() {
  import -window "$1" "$work/shot.png" 2>/dev/null || return 1
  convert "$work/shot.png" -crop 10x10+$2+$3 +repage -scale '1x1!' \
    -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info: 2>/dev/null
}
# The title screen is up once the wheel's selected tile (level 1, open and
# unplayed) shows its blue frame.
title_shown() {
  set -- $(patch_colour "$1" 128 291) || return 1
  [ $# -eq 3 ] && [ "$3" -gt "$1" ] && [ "$3" -gt "$2" ] && [ $(($3 - $1)) -ge 30 ]
}
# Starts a program in the current folder with its output in out.txt;
# sets $pid, $window and $title_seconds (launch to the first title frame).
start_and_wait_for_title() {
  rm -f out.txt
  started=$(now)
  "$@" >out.txt 2>&1 &
  pid=$!
  window=""
  for _ in $(seq 1 300); do
    window=$(xdotool search --name '^Skitterwind$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || return 1
  for _ in $(seq 1 600); do
    if title_shown "$window"; then
      title_seconds=$(awk -v a="$(now)" -v b="$started" 'BEGIN { printf "%.2f", a - b }')
      return 0
    fi
    sleep 0.05
  done
  return 1
}
keep_shot() {
  [ -n "${ZIP_E2E_SHOTS:-}" ] && import -window "$window" "$ZIP_E2E_SHOTS/$1" 2>/dev/null
  true
}
# Waits up to 20 s for the started program to end; sets $code.
wait_for_exit() {
  for _ in $(seq 1 200); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    fail "still running 20 s after F4"
  fi
  wait "$pid"
  code=$?
}
press() {
  xdotool keydown "$1"
  sleep 0.2
  xdotool keyup "$1"
  sleep 0.6
}

# ---- Native, for the start-up figure ------------------------------------------
if [ -n "$native" ]; then
  mkdir -p "$work/native" && cd "$work/native"
  start_and_wait_for_title "$native" || { kill "$pid"; fail "the native program showed no title screen"; }
  native_seconds=$title_seconds
  xdotool windowfocus --sync "$window" key F4
  wait_for_exit
fi

# ---- Windows, under Wine ---------------------------------------------------------
cd "$game" || fail "cannot enter $game"
start_and_wait_for_title wine ./skitterwind.exe || { cat out.txt; kill "$pid"; fail "no title screen under Wine"; }
echo "first title frame after ${title_seconds}s under Wine${native:+, ${native_seconds}s natively}"
keep_shot title.png
grep -q "Settings Loaded" out.txt || grep -q "Highscores Loaded" out.txt \
  || fail "the start-up lines did not reach the redirected standard output"

xdotool windowfocus --sync "$window" 2>/dev/null || true
# The gear column, select: the options box; the sound line: effects only.
press Left
press Return
keep_shot options.png
press Down
press Return
press Escape
sleep 1
[ -f .tolvarstate ] || fail "no .tolvarstate in the working folder"
sound=$(cut -d'|' -f6 .tolvarstate)
[ "$sound" = 2 ] || fail "the sound mode saved is '$sound', not 2"

xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key F4
wait_for_exit
[ "$code" -eq 0 ] || fail "exit code $code on F4"
echo "PASS"
