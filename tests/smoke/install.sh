#!/usr/bin/env bash
# Installs the game into a temporary prefix and runs the installed launcher under a virtual X
# server: it starts, makes the player's folder with its settings, and leaves the prefix as it was.
# Usage: install.sh BUILD_DIR WORK_DIR
set -euo pipefail
. "$(dirname "$0")/xvfb.sh"
build=$1 work=$2
fresh "$work"
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" > install.log
(cd "$prefix" && find . -printf '%p %s %T@\n' | sort) > before.txt

export XDG_DATA_HOME="$work/home"
screen 1024x768
start_game "$prefix/bin/kelvora"
window > /dev/null || fail "the installed game opened no window within 60 s"
stop_game
[ "$status" = 0 ] || fail "the installed game exited with status $status"
player="$XDG_DATA_HOME/kelvora"
[ -f "$player/Data/Nastaveni.dat" ] || fail "no settings in the player's folder"
for archive in Grafika.dat Hudba.dat Game.dat Hudba.ini; do
  [ -L "$player/Data/$archive" ] && [ -e "$player/Data/$archive" ] || fail "$archive is not linked"
done
(cd "$prefix" && find . -printf '%p %s %T@\n' | sort) > after.txt
diff before.txt after.txt || fail "the run changed the installed prefix"
echo "installed, started from the player's folder, prefix untouched"
