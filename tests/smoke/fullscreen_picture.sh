#!/usr/bin/env bash
# The real game in full screen on a virtual X server of 1920 x 1080, once under a window manager
# and once with none (a bare X session, a kiosk): the 1024 x 768 picture is scaled to 1440 x 1080
# and centred, between black bars of 240 pixels, both when the game starts in full screen and
# after F11 has gone to a window of 1024 x 768 and a second F11 back to full screen.
# Usage: fullscreen_picture.sh GAME DATA_DIR LIT_PIXELS_TOOL WORK_DIR
set -euo pipefail
. "$(dirname "$0")/xvfb.sh"
game=$1 data=$2 lit_tool=$3 work=$4
fresh "$work" "$data"
picture="240 0 1679 1079"
failed=0
for wm in openbox none; do
  ok=1
  printf '[Okno]\r\nCelaObrazovka=1\r\nSirka=1024\r\nVyska=768\r\n' > Data/Nastaveni.dat
  rm -f ./*.xwd ./*.txt
  screen 1920x1080 "$wm"
  start_game "$game"
  # Each wait that runs out is reported; the checks below then say what the screen showed.
  if win=$(window); then
    wait_for "a frame of the intro" 60 screen_lit 1 || true
    xdotool mousemove 960 540
    xdotool key 1 # skip the intro
    # The menu lights its whole picture, the intro only a part of it.
    wait_for "the menu in full screen (window manager $wm)" 40 screen_box "$picture" || true
    cp screen.xwd start.xwd
    xdotool key F11
    wait_for "a window of 1024x768 after F11 (window manager $wm)" 10 \
      window_size "$win" 1024x768 || true
    xdotool getwindowgeometry "$win" > windowed.txt
    xdotool key F11
    wait_for "full screen again after a second F11 (window manager $wm)" 10 \
      screen_box "$picture" || true
    cp screen.xwd again.xwd
  else
    echo "window manager $wm: the game opened no window within 10 s"
  fi
  stop_game
  for shot in start again; do
    box=$("$lit_tool" --box "$shot.xwd" 2> /dev/null) || box="not dumped"
    if [ "$box" != "$picture" ]; then
      echo "window manager $wm, $shot: the lit part of the screen is $box, not $picture"
      ok=0
    fi
  done
  if ! grep -q "Geometry: 1024x768" windowed.txt 2> /dev/null; then
    echo "window manager $wm: F11 gave a window of $(cat windowed.txt 2> /dev/null || echo nothing)"
    ok=0
  fi
  [ "$ok" = 1 ] || { failed=1; cat game.log; }
done
[ "$failed" = 0 ] || exit 1
echo "full screen 1440x1080 centred at x 240..1679, with and without a window manager"
