#!/usr/bin/env bash
# A game that cannot start says why in a message box, not only on standard error, which nobody
# reads when the game is started from a menu: an archive cut short, and a system without any
# font. The box comes before the game's window, and once the player closes it the game ends with
# status 1, leaving nothing behind.
# Usage: startup_failures.sh GAME DATA_DIR LIT_PIXELS_TOOL WORK_DIR
set -euo pipefail
. "$(dirname "$0")/xvfb.sh"
game=$1 data=$2 lit_tool=$3 work=$4

# The message box's id, once there is one. (Its title is set as UTF-8 text only, which xdotool's
# search by name does not read.)
find_box() { box=$(xwininfo -root -children | awk '/"Kelvora"/ { print $1; exit }') && [ -n "$box" ]; }
# Return pressed over the box (its button takes the key; the pointer over the box gives it the
# keyboard) until the box is gone: a busy machine may map it before it takes keys.
close_box() {
  xdotool mousemove --window "$box" 20 20 key Return 2> /dev/null || true
  sleep 0.2
  ! xwininfo -id "$box" 2> /dev/null | grep -q IsViewable
}

# expect_box CASE TEXT: the game, started in the current folder, shows a box with TEXT on
# standard error, opens no window of its own, and ends with status 1 once the box is closed.
expect_box() {
  screen 1024x768
  start_game "$game"
  wait_for "$1: a message box" 60 find_box
  window_size "$box" 1024x768 && fail "$1: the game opened its window instead of a message box"
  wait_for "$1: the message on standard error" 10 grep -q "$2" game.log
  wait_for "$1: the box closed by Return" 10 close_box
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

# A language the game lacks: a box says so in Czech, with its quotes, and the game then plays.
# The box is the game's own, drawn with its font (SDL's box on X11 writes with the X server's
# core fonts, which draw „ and “ as other signs), 500 pixels wide; its picture is kept as
# message-box.xwd.
fresh "$work/language" "$data"
screen 1024x768
"$game" --language xx > game.log 2>&1 &
game_pid=$!
wait_for "a language the game lacks: a message box" 60 find_box
xdotool getwindowgeometry "$box" | grep -q "Geometry: 500x" ||
  fail "a language the game lacks: the box is not the game's own ($(xdotool getwindowgeometry "$box"))"
box_drawn() { xwd -id "$box" -silent > message-box.xwd && [ "$("$lit_tool" message-box.xwd)" -gt 0 ]; }
wait_for "a language the game lacks: the box drawn" 10 box_drawn
grep -q "Hra nemá jazyk „xx“, mluví česky." game.log || fail "a language the game lacks: no message"
wait_for "a language the game lacks: the box closed by Return" 10 close_box
game_window() { window > /dev/null; }
wait_for "a language the game lacks: the game's window after the box" 60 game_window
stop_game
echo "a language the game lacks: told in the game's own box, then played in Czech"
