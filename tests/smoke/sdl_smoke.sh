#!/usr/bin/env bash
# The real game under a virtual X server: it starts, puts frames on the screen, and a window
# close (SIGTERM becomes SDL's quit event) ends it in order, leaving no temporary files behind.
# Usage: sdl_smoke.sh GAME DATA_DIR LIT_PIXELS_TOOL WORK_DIR
set -euo pipefail
. "$(dirname "$0")/xvfb.sh"
game=$1 data=$2 lit_tool=$3 work=$4
fresh "$work" "$data"
screen 1024x768
start_game "$game"
sleep 4
xwd -root -silent > screen.xwd
stop_game
[ "$status" = 0 ] || fail "the game exited with status $status"
lit=$("$lit_tool" screen.xwd)
echo "pixels lit on the screen: $lit"
[ "$lit" -gt 0 ] || fail "the screen stayed black: no frame was shown"
for f in Data/Level.dat Data/Objednav.dat Splash.bmp Loga.bmp Mys.bmp; do
  [ ! -e "$f" ] || fail "temporary file $f left behind"
done
echo "started, showed frames and shut down cleanly"
