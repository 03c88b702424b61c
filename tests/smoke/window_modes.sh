#!/usr/bin/env bash
# The real game under a virtual X server of 2048 x 1536 with a window manager: it opens in the window the settings ask
# for, F11 switches it to the whole screen (a scale of exactly 2), a click at the scaled place of
# the exit button reaches that button (the game ends by itself after its splash), and the mode
# is remembered in the settings.
# Usage: window_modes.sh GAME DATA_DIR WORK_DIR
set -euo pipefail
game=$1 data=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
cp -r "$data" "$work/Data"
printf '[Okno]\r\nCelaObrazovka=0\r\nSirka=1024\r\nVyska=768\r\n' > "$work/Data/Nastaveni.dat"
cd "$work"

export SDL_AUDIODRIVER=dummy
xvfb-run -a -s "-screen 0 2048x1536x24" bash -c '
  set -u
  # Full screen and window are the window manager'"'"'s business on X; a small one serves.
  openbox > wm.log 2>&1 &
  sleep 1
  "$1" > game.log 2>&1 &
  pid=$!
  win=""
  for _ in $(seq 50); do
    win=$(xdotool search --name "^Kelvora$" 2>/dev/null | head -n 1) && [ -n "$win" ] && break
    sleep 0.2
  done
  sleep 1
  xdotool getwindowgeometry "$win" > windowed.txt
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  xdotool key 1                           # skip the intro
  sleep 1
  xdotool key F11
  sleep 1.5
  xdotool getwindowgeometry "$win" > fullscreen.txt
  # "Konec" spans x 370..654, y 580..642 of the game: its middle is (512, 611), (1024, 1222) on
  # the screen at a scale of 2.
  xdotool mousemove 1024 1222
  sleep 0.5
  xdotool click 1
  status=timeout
  for _ in $(seq 60); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid" && status=0 || status=$?
      break
    fi
    sleep 0.2
  done
  [ "$status" = timeout ] && kill -TERM "$pid"
  echo "$status" > status
' modes "$game"

fail() { echo "$1"; cat game.log; exit 1; }
grep -q "Geometry: 1024x768" windowed.txt || fail "window mode: $(cat windowed.txt)"
grep -q "Geometry: 2048x1536" fullscreen.txt || fail "full screen: $(cat fullscreen.txt)"
[ "$(cat status)" = 0 ] || fail "the click on the exit button did not end the game ($(cat status))"
grep -q "CelaObrazovka=1" Data/Nastaveni.dat || fail "the full-screen mode was not remembered"
echo "window 1024x768, full screen 2048x1536, the scaled click reached the exit button"
