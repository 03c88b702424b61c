#!/usr/bin/env bash
# The Windows game that cannot start says why in a message box: with its graphics archive cut
# short, kelvora.exe under Wine and a virtual X server shows a box titled "Kelvora" before any
# window of its own, and ends with status 1 once the box is closed with Return.
# Usage: startup_failures.sh GAME_FOLDER WORK_FOLDER (Wine's prefix comes from the environment)
set -euo pipefail
. "$(dirname "$0")/../smoke/xvfb.sh"
game=$1 work=$2
fresh "$work"
cp -r "$game"/. .
head -c 100000 "$game/Data/Grafika.dat" > Data/Grafika.dat
wineserver -k 2> /dev/null || true  # its next start takes the new display
screen 1024x768
wine ./kelvora.exe > game.log 2>&1 &
game_pid=$!
find_box() { box=$(xwininfo -root -tree | awk '/"Kelvora"/ && !/1024x768/ { print $1; exit }') && [ -n "$box" ]; }
wait_for "the message box" 60 find_box
if xwininfo -root -tree | grep -q '"Kelvora".*1024x768'; then fail "the game opened its window"; fi
# Without a window manager, Wine gives a window the keyboard when it is clicked; a box just
# mapped may not take the click yet, so it is clicked and answered until the game ends.
answer() { xdotool mousemove --window "$box" 20 20 click 1 sleep 0.3 key Return 2> /dev/null || true; game_ended; }
wait_for "the game's end once its box was answered" 30 answer
[ "$status" = 1 ] || fail "the game ended with status $status"
echo "the game with an archive cut short said so in a message box and ended with status 1"
