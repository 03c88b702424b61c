#!/usr/bin/env bash
# The real game in full screen on a virtual X server of 1920 x 1080, once under a window manager
# and once with none (a bare X session, a kiosk): it shows the intro's logo and, skipped with the
# digit 1, the menu, its 1024 x 768 picture scaled to 1440 x 1080 and centred between black bars
# of 240 pixels, both at the start and after F11 has gone to a window of 1024 x 768 and a second
# F11 back to full screen; a window close (SIGTERM becomes SDL's quit event) then ends it in
# order, leaving no temporary files behind.
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
    # The logo lights part of the black screen (over 10,000 pixels), the menu its whole picture.
    wait_for "the intro's logo (window manager $wm)" 60 screen_lit 10000 || ok=0
    xdotool mousemove 960 540
    xdotool key 1 # skip the intro
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
  [ "$status" = 0 ] || { echo "window manager $wm: the game exited with status $status"; ok=0; }
  for f in Data/Level.dat Data/Objednav.dat Splash.bmp Loga.bmp Mys.bmp; do
    [ ! -e "$f" ] || { echo "window manager $wm: temporary file $f left behind"; ok=0; }
  done
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
echo "intro, menu in full screen 1440x1080 at x 240..1679 with and without a window manager, closed"
