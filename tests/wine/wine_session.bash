# Shared by the Wine test scripts (sourced, not run): a private Xvfb display,
# the test Wine prefix beside the executables (prepared by
# scripts/wine-prefix.sh), a scratch folder, and clean-up on exit that ends
# Wine with "wineserver -k" (never -w, which can wait for ever) and Xvfb.
# Call wine_session_start <folder of the executables> first.

wine_work=""
wine_xvfb_pid=""
wine_child_pid=""
# A script that starts tarn-sim sets sim_pid, and com_link when it links a
# Wine COM port to tarn-sim's pseudo-terminal; the clean-up stops and removes
# them.
sim_pid=""
com_link=""
# More far ends of serial lines (pseudo-terminals a script started) and the
# COM links to them, stopped and removed the same way.
far_pids=()
far_links=()

wine_session_cleanup() {
  [ -n "$sim_pid" ] && kill -TERM "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  [ -n "$com_link" ] && rm -f "$com_link"
  local p
  for p in "${far_pids[@]}"; do kill -TERM "$p" 2>/dev/null && wait "$p" 2>/dev/null; done
  for p in "${far_links[@]}"; do rm -f "$p"; done
  timeout 20 wineserver -k >/dev/null 2>&1
  [ -n "$wine_child_pid" ] && kill "$wine_child_pid" 2>/dev/null
  [ -n "$wine_xvfb_pid" ] && kill "$wine_xvfb_pid" 2>/dev/null
  [ -n "$wine_work" ] && rm -rf "$wine_work"
}

# Prints the message and the tails of the session's logs, then exits 1.
fail() {
  echo "$(basename "$0" .sh): $*" >&2
  for log in "$wine_work"/*.log; do
    [ -s "$log" ] && { echo "--- $(basename "$log")"; tail -30 "$log"; } >&2
  done
  exit 1
}

# Runs a command every half second until it succeeds, for at most $1 seconds.
poll() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  while [ $SECONDS -lt $end ]; do
    "$@" && return 0
    sleep 0.5
  done
  return 1
}

wine_session_start() {
  local bindir=$1
  local top
  top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  # One prefix for both programs: the 32-bit tree's tests name the 64-bit
  # tree's (ORLO_WINE_PREFIX), so Tarn.exe and Orlo.exe run in the same one.
  # The two trees' Wine tests must therefore not run at the same time.
  export WINEPREFIX="${ORLO_WINE_PREFIX:-$bindir/wine-test-prefix}"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export HOME=${HOME:-/root}
  wine_work=$(mktemp -d)
  trap wine_session_cleanup EXIT

  # A display of our own: Xvfb picks a free number and writes it to fd 3.
  Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$wine_work/display" \
    </dev/null >"$wine_work/xvfb.log" 2>&1 &
  wine_xvfb_pid=$!
  poll 15 test -s "$wine_work/display" || fail "Xvfb did not start"
  export DISPLAY=":$(head -1 "$wine_work/display")"

  bash "$top/scripts/wine-prefix.sh" "$WINEPREFIX" >"$wine_work/prefix.log" 2>&1 ||
    fail "could not prepare the Wine prefix"
  # The session's settings. No window manager here: Wine draws the captions
  # itself, so screenshots show the titles. 96 DPI, whatever a script that
  # tried another left behind.
  printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Decorated"="N"\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:00000060\r\n\r\n' \
    >"$wine_work/session.reg"
  timeout 60 wine regedit /S "Z:${wine_work//\//\\}\\session.reg" \
    </dev/null >"$wine_work/reg.log" 2>&1 || fail "could not set the session's settings"
}

# ---- Driving the program's windows with xdotool (set title_pattern first).
# Client area of the main window inside its Wine-drawn frame.
client_x=4
client_y=42
win=""
found=""

# Sets win to the visible main window.
find_main() {
  win=$(timeout 5 xdotool search --onlyvisible --name "$title_pattern" 2>/dev/null | head -1)
  [ -n "$win" ]
}
# Clicks at client coordinates x, y of the main window.
click() {
  timeout 5 xdotool mousemove --window "$win" $((client_x + $1)) $((client_y + $2)) click 1
}
# Waits for a visible window whose title matches $1 and sets found to it.
find_titled() {
  found=$(timeout 5 xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1)
  [ -n "$found" ]
}
wait_window() {  # pattern, seconds, what
  poll "$2" find_titled "$1" || fail "no window \"$1\" within $2 s ($3)"
}
gone() { ! find_titled "$1"; }
wait_gone() {  # pattern, seconds, what
  poll "$2" gone "$1" || fail "window \"$1\" still there after $2 s ($3)"
}
# Types keys into the focused window, slowly enough for Wine.
keys() {
  sleep 0.5
  timeout 10 xdotool key --delay 200 "$@"
}
shot() {  # window, file
  sleep 1
  timeout 10 import -window "$1" "$shots/$2" || fail "no screenshot $2"
  echo "$(basename "$0" .sh): screenshot $shots/$2 ($(identify -format '%wx%h' "$shots/$2"))"
}
# Types a path into the file dialog titled $1 and confirms it.
file_dialog() {  # title pattern, Windows path, what
  wait_window "$1" 20 "$3"
  keys ctrl+a
  timeout 10 xdotool type --delay 40 "$2"
  keys Return
  wait_gone "$1" 20 "$3"
}
winpath() { winepath -w "$1" 2>/dev/null; }

# ---- What the scripts that drive Tarn.exe share.
# Reads the arguments they all take (Tarn.exe, the screenshot folder,
# tarn.exe, the native tarn-sim) into exe, shots (created) and sim, and tarn,
# the native tool beside tarn-sim; says what is missing and exits otherwise.
wine_script_args() {  # script name, arguments...
  local name=$1
  shift
  if [ $# -lt 4 ]; then
    echo "usage: $name.sh <Tarn.exe> <screenshot folder> [tarn.exe] <tarn-sim>" >&2
    exit 2
  fi
  exe=$(readlink -f "$1")
  shots=$2
  [ -x "$4" ] || { echo "$name: tarn-sim is not built at $4 (build the native tree first)" >&2; exit 1; }
  sim=$(readlink -f "$4")
  tarn="$(dirname "$sim")/tarn"
  [ -x "$tarn" ] || { echo "$name: no native tarn beside $sim (build the native tree first)" >&2; exit 1; }
  mkdir -p "$shots"
  shots=$(readlink -f "$shots")
}

# Starts Tarn.exe in the scratch folder, its settings pointing at a TCP port
# nobody listens on, waits for the main window and gives it the focus.
start_tarn_offline() {
  printf '[canshu_v2]\r\ncom_or_tcp=1\r\nip=127.0.0.1\r\nsocket_port=1\r\n' >"$wine_work/qv_pV2.ini"
  (cd "$wine_work" && exec wine "$exe") </dev/null >"$wine_work/tarn.log" 2>&1 &
  wine_child_pid=$!
  poll 60 find_main || fail "no main window"
  sleep 2
  click 600 300
}

# Builds the sample program $wine_work/p.json into prog.qv3, starts
# Tarn.exe offline and opens it with the "打开" button.
open_sample_program() {
  "$tarn" build "$wine_work/p.json" "$wine_work/prog.qv3" >"$wine_work/build.log" 2>&1 ||
    fail "tarn build of the sample program failed"
  start_tarn_offline
  click 25 12
  file_dialog '^Open$' "$(winpath "$wine_work/prog.qv3")" "open"
  poll 10 bash -c "xdotool getwindowname $win | grep -q 'prog.qv3'" ||
    fail "the title does not name the opened file"
}

# Closes the program ($exe: Tarn.exe or Orlo.exe) with Alt+F4 (nothing must
# be left to ask) and fails unless it ends within 20 s with status 0.
close_tarn() {  # what, for the messages
  timeout 5 xdotool key alt+F4
  tarn_gone() { ! kill -0 "$wine_child_pid" 2>/dev/null; }
  poll 20 tarn_gone || fail "$1: $(basename "$exe") still runs after Alt+F4"
  wait "$wine_child_pid"
  local status=$?
  wine_child_pid=""
  [ $status -eq 0 ] || fail "$1: $(basename "$exe") ended with status $status"
}

# tarn-sim on TCP (a free port) and on a pseudo-terminal linked as COM$1:
# sets sim_pid, port, com and com_link (removed by the clean-up).
start_sim_both_lines() {  # COM number, what (for the messages)
  "$sim" --tcp 127.0.0.1:0 --pty "$wine_work/sim-pty" >"$wine_work/sim.log" 2>&1 &
  sim_pid=$!
  sim_port() { sed -n 's/^tarn-sim: tcp 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$wine_work/sim.log" | head -1; }
  has_port() { [ -n "$(sim_port)" ]; }
  poll 10 has_port || fail "tarn-sim did not say its port"
  poll 10 test -L "$wine_work/sim-pty" || fail "tarn-sim made no pseudo-terminal"
  port=$(sim_port)
  com=$1
  com_link="$WINEPREFIX/dosdevices/com$com"
  ln -sfn "$wine_work/sim-pty" "$com_link"
  echo "$2: tarn-sim on 127.0.0.1:$port and COM$com"
}
