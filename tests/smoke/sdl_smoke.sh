#!/usr/bin/env bash
# The real game under a virtual X server: it starts, puts frames on the screen, and a window
# close (SIGTERM becomes SDL's quit event) ends it in order, leaving no temporary files behind.
# Usage: sdl_smoke.sh GAME DATA_DIR LIT_PIXELS_TOOL WORK_DIR
set -euo pipefail
game=$1 data=$2 lit_tool=$3 work=$4
rm -rf "$work"
mkdir -p "$work"
cp -r "$data" "$work/Data"
cd "$work"

export SDL_AUDIODRIVER=dummy
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$1" > game.log 2>&1 &
  pid=$!
  sleep 4
  xwd -root -silent > screen.xwd
  kill -TERM "$pid"
  status=0
  wait "$pid" || status=$?
  echo "$status" > status
' smoke "$game"

status=$(cat status)
if [ "$status" != 0 ]; then
  echo "the game exited with status $status"; cat game.log; exit 1
fi
lit=$("$lit_tool" screen.xwd)
echo "pixels lit on the screen: $lit"
if [ "$lit" -eq 0 ]; then
  echo "the screen stayed black: no frame was shown"; cat game.log; exit 1
fi
for f in Data/Level.dat Data/Objednav.dat Splash.bmp Loga.bmp Mys.bmp; do
  if [ -e "$f" ]; then echo "temporary file $f left behind"; exit 1; fi
done
echo "started, showed frames and shut down cleanly"
