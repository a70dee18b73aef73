#!/usr/bin/env bash
# Start-up of Tarn.exe under Wine on a private Xvfb display: the main window
# appears with its full title, its screenshot (main_window.png) is not blank,
# Esc does not close it, and Alt+F4 ends the program with status 0.
# Usage: startup.sh <Tarn.exe> <screenshot folder> [tarn.exe]; bounded in time.
set -uo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 <Tarn.exe> <screenshot folder> [tarn.exe]" >&2
  exit 2
fi
exe=$(readlink -f "$1")
shots=$2
title='Orlo V1.326(固件0.129)'
pattern='^Orlo V1\.326\(固件0\.129\)$'

. "$(dirname "$0")/wine_session.bash"
wine_session_start "$(dirname "$exe")"

# The tool writes its settings file into the working folder: use a scratch one.
(cd "$wine_work" && exec wine "$exe") </dev/null >"$wine_work/tarn.log" 2>&1 &
wine_child_pid=$!

find_window() {
  win=$(timeout 5 xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1)
  [ -n "$win" ]
}
win=""
poll 60 find_window || fail "no window titled \"$title\" within 60 s"
name=$(timeout 5 xdotool getwindowname "$win")
[ "$name" = "$title" ] || fail "window title is \"$name\", expected \"$title\""
echo "startup: window $win \"$name\""

# Wait until the window has been painted: a fair size and more than a few colours.
mkdir -p "$shots"
shot="$shots/main_window.png"
painted() {
  timeout 10 import -window "$win" "$shot" 2>/dev/null || return 1
  local w h k
  read -r w h k < <(identify -format '%w %h %k\n' "$shot" 2>/dev/null | head -1)
  [ "${w:-0}" -ge 600 ] && [ "${h:-0}" -ge 300 ] && [ "${k:-0}" -ge 16 ]
}
poll 20 painted || fail "the screenshot $shot stays empty or small"
sleep 1
timeout 10 import -window "$win" "$shot" || fail "no screenshot"
echo "startup: screenshot $shot ($(identify -format '%wx%h, %k colours' "$shot"))"

# Click into the window so it has the keyboard; Esc and Enter must not close it.
read -r ww wh < <(timeout 5 xdotool getwindowgeometry --shell "$win" |
  awk -F= '/WIDTH/{w=$2} /HEIGHT/{h=$2} END{print w, h}')
timeout 5 xdotool mousemove --window "$win" $((ww / 2)) $((wh / 2)) click 1
sleep 0.5
timeout 5 xdotool key Escape Return
sleep 2
kill -0 "$wine_child_pid" 2>/dev/null && find_window || fail "Esc or Enter closed the main window"

# Closing the window ends the program.
timeout 5 xdotool key alt+F4
gone() { ! kill -0 "$wine_child_pid" 2>/dev/null; }
poll 20 gone || fail "Tarn.exe still runs 20 s after Alt+F4"
wait "$wine_child_pid"
status=$?
wine_child_pid=""
[ $status -eq 0 ] || fail "Tarn.exe ended with status $status"
echo "startup: passed"
