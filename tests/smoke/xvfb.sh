# Sourced by the smoke tests: a fresh work folder, a virtual X server with the game on it, and
# whatever still runs there ended with the test. Every wait is for a condition, with a limit.
# A system that asks for no language: the game speaks its own, Czech, whose messages the tests read.
unset LANGUAGE LC_ALL LC_MESSAGES
export LANG=C.UTF-8
fresh() { rm -rf "$1"; mkdir -p "$1"; [ -z "${2:-}" ] || cp -r "$2" "$1/Data"; cd "$1"; }
fail() { echo "$1"; cat game.log; exit 1; }
stop_screen() { kill $(jobs -p) 2> /dev/null || true; wait; rm -f display; }
trap stop_screen EXIT
trap 'echo "failed: $BASH_COMMAND"; cat game.log 2> /dev/null' ERR

# wait_for WHAT SECONDS COMMAND...: runs COMMAND every tenth of a second until it succeeds. When
# SECONDS pass first it says that WHAT did not happen and returns 1 (which ends a test run with
# set -e).
wait_for() {
  local what=$1 limit=$2 end=$((SECONDS + $2))
  shift 2
  until "$@"; do
    if [ "$SECONDS" -ge "$end" ]; then
      echo "timed out: $what did not happen within $limit s"
      return 1
    fi
    sleep 0.1
  done
}

# screen WxH [openbox]: a new X server of that size, with a window manager if asked for.
screen() {
  stop_screen
  Xvfb -displayfd 3 -nolisten tcp -screen 0 "$1x24" 3> display 2> /dev/null &
  wait_for "the virtual X server's start" 10 test -s display || fail "no virtual X server"
  export DISPLAY=":$(cat display)" SDL_AUDIODRIVER=dummy
  if [ "${2:-}" = openbox ]; then
    openbox > wm.log 2>&1 &
    wait_for "the window manager's start" 10 window_manager_up || fail "$(cat wm.log)"
  fi
}

# A window manager announces itself on the root window (the EWMH check window).
window_manager_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q "window id"; }

# A window close (SIGTERM) ends the game; status is then its exit status.
start_game() { "$1" > game.log 2>&1 & game_pid=$!; }
stop_game() { kill -TERM "$game_pid" 2> /dev/null || true; status=0; wait "$game_pid" || status=$?; }

# The game's first window and frame can be late on a busy machine (CI's runs right after a build
# saw them later than 10 and 20 s), so the waits for them allow a minute; they end as soon as
# the game is there.
# window: the id of the game's window, once it has one (within 60 seconds).
window() {
  local end=$((SECONDS + 60)) id
  until id=$(xdotool search --name "^Kelvora$" 2> /dev/null | head -n 1) && [ -n "$id" ]; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.1
  done
  echo "$id"
}

# The conditions the tests wait for. lit_tool is the test's xwd_lit_pixels; each takes a new dump
# of the whole screen into screen.xwd.
dump_screen() { xwd -root -silent > screen.xwd; }
# At least N pixels of the screen are not black.
screen_lit() { dump_screen && [ "$("$lit_tool" screen.xwd 2> /dev/null)" -ge "$1" ]; }
# The pixels that are not black fill exactly the box "LEFT TOP RIGHT BOTTOM".
screen_box() { dump_screen && [ "$("$lit_tool" --box screen.xwd 2> /dev/null)" = "$1" ]; }
# The window WIN has the size WxH.
window_size() { xdotool getwindowgeometry "$1" 2> /dev/null | grep -q "Geometry: $2\$"; }
# The game's process has ended; its exit status is then in status.
game_ended() {
  kill -0 "$game_pid" 2> /dev/null && return 1
  status=0
  wait "$game_pid" || status=$?
}
