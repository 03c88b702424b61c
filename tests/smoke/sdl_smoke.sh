#!/usr/bin/env bash
# The real game under a virtual X server: it starts, shows the intro's logo and, skipped with the
# digit 1, the main menu, and a window close (SIGTERM becomes SDL's quit event) ends it in order,
# leaving no temporary files behind.
# Usage: sdl_smoke.sh GAME DATA_DIR LIT_PIXELS_TOOL WORK_DIR
set -euo pipefail
. "$(dirname "$0")/xvfb.sh"
game=$1 data=$2 lit_tool=$3 work=$4
fresh "$work" "$data"
screen 1024x768
start_game "$game"
window > /dev/null || fail "the game opened no window within 60 s"
# The logo lights part of a black screen (over 10,000 pixels); the menu lights nearly all of it.
wait_for "the intro's logo on the screen" 60 screen_lit 10000
echo "pixels lit by the intro: $("$lit_tool" screen.xwd)"
xdotool key 1
wait_for "the main menu on the screen" 30 screen_lit 700000
stop_game
[ "$status" = 0 ] || fail "the game exited with status $status"
echo "pixels lit on the screen: $("$lit_tool" screen.xwd)"
for f in Data/Level.dat Data/Objednav.dat Splash.bmp Loga.bmp Mys.bmp; do
  [ ! -e "$f" ] || fail "temporary file $f left behind"
done
echo "started, showed frames and shut down cleanly"
