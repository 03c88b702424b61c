#!/usr/bin/env bash
# Installs the game into a temporary prefix and runs the installed launcher under a virtual X
# server: it starts, makes the player's folder with its settings, and leaves the prefix as it was.
# Usage: install.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1 work=$2
rm -rf "$work"
mkdir -p "$work"
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" > "$work/install.log"
(cd "$prefix" && find . -printf '%p %s %T@\n' | sort) > "$work/before.txt"

export XDG_DATA_HOME="$work/home" SDL_AUDIODRIVER=dummy
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$1" > "$2/game.log" 2>&1 &
  pid=$!
  sleep 4
  kill -TERM "$pid"
  status=0
  wait "$pid" || status=$?
  echo "$status" > "$2/status"
' install "$prefix/bin/kelvora" "$work"

fail() { echo "$1"; cat "$work/game.log"; exit 1; }
[ "$(cat "$work/status")" = 0 ] || fail "the installed game exited with status $(cat "$work/status")"
player="$XDG_DATA_HOME/kelvora"
[ -f "$player/Data/Nastaveni.dat" ] || fail "no settings in the player's folder"
for archive in Grafika.dat Hudba.dat Game.dat Hudba.ini; do
  [ -L "$player/Data/$archive" ] && [ -e "$player/Data/$archive" ] || fail "$archive is not linked"
done
(cd "$prefix" && find . -printf '%p %s %T@\n' | sort) > "$work/after.txt"
diff "$work/before.txt" "$work/after.txt" || fail "the run changed the installed prefix"
echo "installed, started from the player's folder, prefix untouched"
