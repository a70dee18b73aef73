#!/usr/bin/env bash
# Start-up of Orlo.exe: a 32-bit GUI program that imports only Windows' own
# DLLs; under Wine on a private Xvfb display its main window appears with
# Orlo's title and is painted, Esc and Enter do not close it, a menu opens
# from the keyboard (owner-drawn, flat), and Alt+F4 ends the program with
# status 0. Screenshots: orlo_main_window.png, orlo_menu.png,
# orlo_settings_dialog.png, and at 144 DPI orlo_main_window_144dpi.png and
# orlo_menu_144dpi.png; once Orlo's 帮助 menu is in the resources
# (ID_HELP_KINDS, ID_HELP_ABOUT) also orlo_help.png and orlo_about.png.
# Bounded in time.
# Usage: startup.sh <Orlo.exe> <screenshot folder> [tarn.exe] [tarn-sim]
set -uo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 <Orlo.exe> <screenshot folder> [tarn.exe] [tarn-sim]" >&2
  exit 2
fi
exe=$(readlink -f "$1")
shots=$2
mkdir -p "$shots"
shots=$(readlink -f "$shots")
top=$(cd "$(dirname "$0")/../../.." && pwd)

# The program itself: 32-bit, a GUI program, and it needs nothing beyond
# Windows' own DLLs (no libstdc++, libgcc or winpthread beside it).
headers=$(i686-w64-mingw32-objdump -p "$exe" 2>/dev/null) || {
  echo "startup: cannot read $exe with i686-w64-mingw32-objdump" >&2
  exit 1
}
grep -q '^Magic.*010b' <<<"$headers" || { echo "startup: $exe is not a 32-bit program" >&2; exit 1; }
grep -q '^Subsystem.*Windows GUI' <<<"$headers" || { echo "startup: $exe is no GUI program" >&2; exit 1; }
others=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'a-z' 'A-Z' |
  grep -vxE 'KERNEL32\.DLL|MSVCRT\.DLL|USER32\.DLL|GDI32\.DLL|COMCTL32\.DLL|COMDLG32\.DLL|SHELL32\.DLL|WS2_32\.DLL')
[ -z "$others" ] || { echo "startup: $exe imports $others" >&2; exit 1; }

. "$(dirname "$0")/../wine_session.bash"
wine_session_start "$(dirname "$exe")"

# Orlo's own menus bring its title suffix with them; before they are in the
# resources the main window still shows Tarn's title.
title='Orlo V1.326(固件0.129)'
has_orlo_menus=0
grep -q '^#define IDR_ORLO_MENU' "$top/res/resource.h" && has_orlo_menus=1
[ $has_orlo_menus -eq 1 ] && title="$title 32位版"
title_pattern='^Orlo V1\.326\(固件0\.129\)'
status_of_run=""

# Starts Orlo.exe in the scratch folder (offline: TCP to a port nobody
# listens on) and waits for its main window.
start_orlo() {
  printf '[canshu_v2]\r\ncom_or_tcp=1\r\nip=127.0.0.1\r\nsocket_port=1\r\n' >"$wine_work/qv_pV2.ini"
  (cd "$wine_work" && exec wine "$exe") </dev/null >>"$wine_work/orlo.log" 2>&1 &
  wine_child_pid=$!
  poll 60 find_main || fail "no main window titled \"$title\" within 60 s"
}
# Waits until the main window is painted (a fair size, more than a few
# colours) and saves it as $1.
painted_shot() {
  local shot="$shots/$1"
  painted() {
    timeout 10 import -window "$win" "$shot" 2>/dev/null || return 1
    local w h k
    read -r w h k < <(identify -format '%w %h %k\n' "$shot" 2>/dev/null | head -1)
    [ "${w:-0}" -ge 600 ] && [ "${h:-0}" -ge 300 ] && [ "${k:-0}" -ge 16 ]
  }
  poll 20 painted || fail "the screenshot $shot stays empty or small"
  sleep 1
  timeout 10 import -window "$win" "$shot" || fail "no screenshot $1"
  echo "startup: screenshot $shot ($(identify -format '%wx%h, %k colours' "$shot"))"
}
# The screen around the main window, so popups over it show too.
screen_shot() {  # file

  eval "$(timeout 5 xdotool getwindowgeometry --shell "$win" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  sleep 1
  timeout 10 import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shots/$1" ||
    fail "no screenshot $1"
  echo "startup: screenshot $shots/$1"
}
# Fails unless window $1 is hidden or gone within 10 s.
window_gone() {  # window, what
  hidden() { ! visible_windows | grep -qx "$1"; }
  poll 10 hidden "$1" || fail "a window stays after $2"
}
# Windows shown now, one id a line.
visible_windows() { timeout 5 xdotool search --onlyvisible --name '.' 2>/dev/null | sort; }
# Waits for a window that was not there before ($1: the list before).
new_window() {  # before, seconds, what
  windows_before=$1
  appeared() {
    found=$(comm -13 <(echo "$windows_before") <(visible_windows) | grep -v "^$win\$" | tail -1)
    [ -n "$found" ]
  }
  poll "$2" appeared || fail "no new window within $2 s ($3)"
}

start_orlo
name=$(timeout 5 xdotool getwindowname "$win")
if [ "$name" != "$title" ]; then
  fail "window title is \"$name\", expected \"$title\""
fi
echo "startup: window $win \"$name\""
painted_shot orlo_main_window.png

# Into the window; Esc and Enter must not close it.
click 600 300
timeout 5 xdotool key Escape Return
sleep 2
kill -0 "$wine_child_pid" 2>/dev/null && find_main || fail "Esc or Enter closed the main window"

# The first menu, opened from the keyboard, its second entry highlighted.
keys F10 Down Down
screen_shot orlo_menu.png
keys Escape Escape
sleep 1

# A dialog in the flat look: the settings, from the 设置 button, cancelled.
click 175 12
wait_window '^Dialog$' 20 "settings dialog"
shot "$found" orlo_settings_dialog.png
keys Escape
wait_gone '^Dialog$' 10 "settings dialog"

if [ $has_orlo_menus -eq 1 ] && grep -q '^#define ID_HELP_KINDS' "$top/res/resource.h" &&
   grep -q '^#define ID_HELP_ABOUT' "$top/res/resource.h"; then
  # 帮助 is the last menu: from the first, Left goes to the system menu and
  # Left again to it. Its entries: the help window, then the about box.
  before=$(visible_windows)
  keys F10 Left Left Down Return
  new_window "$before" 20 "the help window"
  shot "$found" orlo_help.png
  keys Escape
  window_gone "$found" "Esc on the help window"
  before=$(visible_windows)
  keys F10 Left Left Down Down Return
  new_window "$before" 20 "the about box"
  shot "$found" orlo_about.png
  keys Return
  window_gone "$found" "Enter on the about box"
else
  echo "startup: no 帮助 menu in the resources yet: no help window or about box screenshots"
fi

close_tarn "at 96 DPI"

# The same at 144 DPI (150 %): the prefix's setting, set back to 96 at the
# end (and by the next session, should this one fail).
set_dpi() {
  timeout 30 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
    </dev/null >>"$wine_work/reg.log" 2>&1 || fail "could not set $1 DPI"
  timeout 20 wineserver -k >/dev/null 2>&1
}
set_dpi 144
start_orlo
painted_shot orlo_main_window_144dpi.png
click 600 300
keys F10 Down Down
screen_shot orlo_menu_144dpi.png
keys Escape Escape
close_tarn "at 144 DPI"
set_dpi 96
echo "startup: passed"
