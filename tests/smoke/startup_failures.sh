#!/usr/bin/env bash
# A game that cannot start says why in a message box, not only on standard error, which nobody
# reads when the game is started from a menu: an archive cut short, and a system without any
# font. The box comes before the game's window, and once the player closes it the game ends with
# status 1, leaving nothing behind.
# Usage: startup_failures.sh GAME DATA_DIR WORK_DIR
set -euo pipefail
. "$(dirname "$0")/xvfb.sh"
game=$1 data=$2 work=$3

# The message box's id, once there is one. (Its title is set as UTF-8 text only, which xdotool's
# search by name does not read.)
find_box() { box=$(xwininfo -root -children | awk '/"Kelvora"/ { print $1; exit }') && [ -n "$box" ]; }

# expect_box CASE TEXT: the game, started in the current folder, shows a box with TEXT on
# standard error, opens no window of its own, and ends with status 1 once the box is closed.
expect_box() {
  screen 1024x768
  start_game "$game"
  wait_for "$1: a message box" 10 find_box
  window_size "$box" 1024x768 && fail "$1: the game opened its window instead of a message box"
  wait_for "$1: the message on standard error" 10 grep -q "$2" game.log
  # The box's button takes the Return key; the pointer over the box gives it the keyboard.
  xdotool mousemove --window "$box" 20 20 key Return
  wait_for "$1: the game's end once its box was closed" 10 game_ended
  [ "$status" = 1 ] || fail "$1: the game ended with status $status"
  [ ! -e Data/Level.dat ] || fail "$1: the game extracted its tables all the same"
  [ ! -e Data/Nastaveni.dat ] || fail "$1: the game wrote settings all the same"
  echo "$1: told in a box and on standard error, ended with status 1"
}

fresh "$work/damaged" "$data"
head -c 100000 "$data/Grafika.dat" > Data/Grafika.dat
expect_box "an archive cut short" "Grafika.dat“ je poškozený"

fresh "$work/no-fonts" "$data"
printf '<?xml version="1.0"?>\n<fontconfig></fontconfig>\n' > fonts.conf
FONTCONFIG_FILE=$(pwd)/fonts.conf expect_box "no font" "žádné písmo"
