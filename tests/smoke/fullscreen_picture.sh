#!/usr/bin/env bash
# The real game in full screen on a virtual X server of 1920 x 1080, once under a window manager
# and once with none (a bare X session, a kiosk): the 1024 x 768 picture is scaled to 1440 x 1080
# and centred, between black bars of 240 pixels, both when the game starts in full screen and
# after F11 has gone to a window of 1024 x 768 and a second F11 back to full screen.
# Usage: fullscreen_picture.sh GAME DATA_DIR LIT_PIXELS_TOOL WORK_DIR
set -euo pipefail
game=$1 data=$2 lit_tool=$3 work=$4
rm -rf "$work"
mkdir -p "$work"
cp -r "$data" "$work/Data"
cd "$work"

export SDL_AUDIODRIVER=dummy
failed=0
for wm in openbox none; do
  ok=1
  printf '[Okno]\r\nCelaObrazovka=1\r\nSirka=1024\r\nVyska=768\r\n' > Data/Nastaveni.dat
  rm -f ./*.xwd ./*.txt
  xvfb-run -a -s "-screen 0 1920x1080x24" bash -c '
    set -u
    if [ "$2" = openbox ]; then
      openbox > wm.log 2>&1 &
      sleep 1
    fi
    "$1" > game.log 2>&1 &
    pid=$!
    win=""
    for _ in $(seq 50); do
      win=$(xdotool search --name "^Kelvora$" 2>/dev/null | head -n 1) && [ -n "$win" ] && break
      sleep 0.2
    done
    [ -n "$win" ] || { kill -TERM "$pid"; exit 1; }
    sleep 1
    xdotool mousemove 960 540
    xdotool key 1                         # skip the intro
    sleep 1
    xwd -root -silent > start.xwd
    xdotool key F11
    sleep 1
    xdotool getwindowgeometry "$win" > windowed.txt
    xdotool key F11
    sleep 1
    xwd -root -silent > again.xwd
    kill -TERM "$pid"
    wait "$pid"
  ' picture "$game" "$wm" || true
  for shot in start again; do
    box=$("$lit_tool" --box "$shot.xwd" 2>/dev/null) || box="not dumped"
    if [ "$box" != "240 0 1679 1079" ]; then
      echo "window manager $wm, $shot: the lit part of the screen is $box, not 240 0 1679 1079"
      ok=0
    fi
  done
  if ! grep -q "Geometry: 1024x768" windowed.txt 2>/dev/null; then
    echo "window manager $wm: F11 gave a window of $(cat windowed.txt 2>/dev/null || echo nothing)"
    ok=0
  fi
  [ "$ok" = 1 ] || { failed=1; cat game.log; }
done
[ "$failed" = 0 ] || exit 1
echo "full screen 1440x1080 centred at x 240..1679, with and without a window manager"
