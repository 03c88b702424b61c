# Sourced by the smoke tests: a fresh work folder, a virtual X server with the game on it, and
# whatever still runs there ended with the test.
fresh() { rm -rf "$1"; mkdir -p "$1"; [ -z "${2:-}" ] || cp -r "$2" "$1/Data"; cd "$1"; }
fail() { echo "$1"; cat game.log; exit 1; }
stop_screen() { kill $(jobs -p) 2> /dev/null || true; wait; rm -f display; }
trap stop_screen EXIT
trap 'echo "failed: $BASH_COMMAND"; cat game.log 2> /dev/null' ERR

# screen WxH [openbox]: a new X server of that size, with a window manager if asked for.
screen() {
  stop_screen
  Xvfb -displayfd 3 -nolisten tcp -screen 0 "$1x24" 3> display 2> /dev/null &
  for _ in $(seq 100); do [ -s display ] && break || sleep 0.1; done
  [ -s display ] || fail "no virtual X server"
  export DISPLAY=":$(cat display)" SDL_AUDIODRIVER=dummy
  [ "${2:-}" != openbox ] || { openbox > wm.log 2>&1 & sleep 1; }
}

# A window close (SIGTERM) ends the game; status is then its exit status.
start_game() { "$1" > game.log 2>&1 & game_pid=$!; }
stop_game() { kill -TERM "$game_pid" 2> /dev/null || true; status=0; wait "$game_pid" || status=$?; }

# window: the id of the game's window, once it has one (within 10 seconds).
window() {
  for _ in $(seq 50); do
    xdotool search --name "^Kelvora$" 2> /dev/null | grep -m 1 . && return
    sleep 0.2
  done
  return 1
}
