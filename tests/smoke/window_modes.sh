#!/usr/bin/env bash
# The real game under a virtual X server of 2048 x 1536 with a window manager (full screen and
# window are its business on X): the game opens in the window the settings ask for, F11 switches
# it to the whole screen (a scale of exactly 2), a click at the scaled place of the exit button
# reaches that button (the game ends by itself after its splash), and the mode is remembered.
# Usage: window_modes.sh GAME DATA_DIR LIT_PIXELS_TOOL WORK_DIR
set -euo pipefail
. "$(dirname "$0")/xvfb.sh"
game=$1 data=$2 lit_tool=$3 work=$4
fresh "$work" "$data"
printf '[Okno]\r\nCelaObrazovka=0\r\nSirka=1024\r\nVyska=768\r\n' > Data/Nastaveni.dat
screen 2048x1536 openbox
start_game "$game"
win=$(window) || fail "the game opened no window within 60 s"
wait_for "a window of 1024x768" 10 window_size "$win" 1024x768
xdotool getwindowgeometry "$win" > windowed.txt
# The game takes keys once it draws its intro; the menu fills its whole window (the intro
# lights a small part), also when the key came too early and the intro ran to its end.
wait_for "a frame of the intro" 60 screen_lit 1
xdotool windowfocus --sync "$win" 2> /dev/null || true
xdotool key 1 # skip the intro
wait_for "the menu filling the window after the digit 1" 40 screen_lit $((1024 * 768))
xdotool key F11
wait_for "the full screen of 2048x1536 after F11" 10 window_size "$win" 2048x1536
wait_for "the menu filling the full screen" 10 screen_lit $((2048 * 1536))
xdotool getwindowgeometry "$win" > fullscreen.txt
# "Konec" spans x 370..654, y 580..642 of the game: its middle is (512, 611), (1024, 1222) on
# the screen at a scale of 2.
xdotool mousemove 1024 1222
xdotool click 1
wait_for "the end of the game after the click on the exit button" 12 game_ended
grep -q "Geometry: 1024x768" windowed.txt || fail "window mode: $(cat windowed.txt)"
grep -q "Geometry: 2048x1536" fullscreen.txt || fail "full screen: $(cat fullscreen.txt)"
[ "$status" = 0 ] || fail "the click on the exit button did not end the game ($status)"
grep -q "CelaObrazovka=1" Data/Nastaveni.dat || fail "the full-screen mode was not remembered"
echo "window 1024x768, full screen 2048x1536, the scaled click reached the exit button"
