#!/usr/bin/env bash
# Tarn.exe against tarn-sim under Wine and Xvfb, driven as a user does: a
# program opened with "打开", written with "写入", read back with "读取" and
# saved with "另存" byte for byte, over TCP and over a Wine COM port linked to
# tarn-sim's pseudo-terminal. Screenshots: main_program.png,
# settings_dialog.png, info_dialog.png, verify_identical.png (校验 after the
# write). Bounded in time.
# Usage: device.sh <Tarn.exe> <screenshot folder> [tarn.exe] <tarn-sim>
set -uo pipefail

. "$(dirname "$0")/wine_session.bash"
wine_script_args device "$@"
wine_session_start "$(dirname "$exe")"

# The window's client area starts this far into its X window (Wine draws the
# frame, the caption and the menu bar itself: no window manager here).
title_pattern='^Orlo V1\.326\(固件0\.129\)'

# ---- The program: three rules, a function and an alias.
cat >"$wine_work/p.json" <<'EOF'
{"format": "orlo-program", "version": 1, "sections": [
  {"section": "main", "lines": [
    {"type": "condition", "kind": 21, "param1": 1, "param2": 2, "param3": "整数2 = 300", "remark": "超过三百"},
    {"type": "condition", "orElse": 1, "kind": 1, "param1": 2, "param2": 1},
    {"type": "result", "kind": 1, "param1": 1, "param2": 1, "param3": "1"},
    {"type": "condition", "kind": 1, "param1": 3, "param2": 1},
    {"type": "result", "kind": 1, "param1": 2, "param2": 1, "param3": "1", "remark": "打开输出2"},
    {"type": "result", "orElse": 1, "kind": 1, "param1": 2, "param2": 0, "param3": "1"},
    {"type": "condition", "kind": 1, "param1": 4, "param2": 1},
    {"type": "result", "kind": 1, "param1": 3, "param2": 3, "param3": "1"}
  ]},
  {"section": "function", "number": 5, "lines": [
    {"type": "result", "bytes": "01 01 01 00 00 00 01"}]}],
 "names": [{"alias": "温度", "system": "整数2"}]}
EOF
"$tarn" build "$wine_work/p.json" "$wine_work/prog.qv3" >"$wine_work/build.log" 2>&1 ||
  fail "tarn build of the sample program failed"

# ---- The simulated controller on both lines.
start_sim_both_lines 7 device

# ---- Helpers.
tarn_pid=""

# Waits for a visible window whose title matches $1 and sets found to it.
# A message box: waits for it and presses Return (Yes / OK).
confirm() {  # title pattern, seconds, what
  wait_window "$1" "$2" "$3"
  keys Return
  wait_gone "$1" 10 "$3"
}

# The controller's program, read over the line Tarn.exe does not use.
controller_program() {  # other line's tarn options..., output file
  timeout 60 "$tarn" device "$@" >>"$wine_work/tarn-read.log" 2>&1
}

# One whole session of Tarn.exe over the link described by settings.
session() {  # name, settings file text, tarn options for the other line..., first?
  local name=$1 settings=$2 first=$3
  shift 3
  printf '%b' "$settings" >"$wine_work/qv_pV2.ini"
  rm -f "$wine_work/back_$name.qv3" "$wine_work/sim_$name.qv3"

  (cd "$wine_work" && exec wine "$exe") </dev/null >"$wine_work/tarn-$name.log" 2>&1 &
  wine_child_pid=$!
  poll 60 find_main || fail "$name: no main window"
  sleep 2
  click 600 300  # the keyboard to the main window

  # Open the program with the "打开" button.
  click 25 12
  file_dialog '^Open$' "$(winpath "$wine_work/prog.qv3")" "$name: open"
  poll 10 bash -c "xdotool getwindowname $win | grep -q 'prog.qv3'" ||
    fail "$name: the title does not name the opened file"

  # Connect, then "写入": the question, then the completion message.
  click 515 12
  sleep 2
  [ "$first" = 1 ] && shot "$win" main_program.png
  click 795 12
  confirm '^警告 目标地址1$' 20 "$name: write question"
  confirm '^提示$' 120 "$name: write finished"
  controller_program "$@" read "$wine_work/sim_$name.qv3" ||
    fail "$name: tarn could not read the controller's program"
  cmp -s "$wine_work/prog.qv3" "$wine_work/sim_$name.qv3" ||
    fail "$name: the controller holds other bytes than the file written"
  echo "device: $name: written, the controller holds the same bytes"

  if [ "$first" = 1 ]; then
    # The settings dialog, cancelled.
    click 175 12
    wait_window '^Dialog$' 20 "settings dialog"
    shot "$found" settings_dialog.png
    keys Escape
    wait_gone '^Dialog$' 10 "settings dialog"
    # "通信" > "读取硬件信息": the information window.
    timeout 5 xdotool mousemove --window "$win" 157 33 click 1
    keys Down Down Down Down Down Down Down Return
    wait_window '^信息$' 30 "hardware information"
    shot "$found" info_dialog.png
    keys Return
    wait_gone '^信息$' 10 "hardware information"
    # "通信" > "校验" after the write: the information window with the outcome.
    timeout 5 xdotool mousemove --window "$win" 157 33 click 1
    keys Down Down Down Return
    wait_window '^信息$' 60 "verify"
    shot "$found" verify_identical.png
    keys Return
    wait_gone '^信息$' 10 "verify"
  fi

  # File > New, then "读取" and "另存".
  timeout 5 xdotool mousemove --window "$win" 20 33 click 1
  keys Down Return
  poll 10 bash -c "xdotool getwindowname $win | grep -q ')\$'" ||
    fail "$name: New left a file name in the title"
  click 735 12
  confirm '^警告 目标地址1$' 20 "$name: read question"
  confirm '^提示$' 120 "$name: read finished"
  click 125 12
  file_dialog '^Save As$' "$(winpath "$wine_work/back_$name.qv3")" "$name: save as"
  poll 10 test -s "$wine_work/back_$name.qv3" || fail "$name: nothing saved"
  cmp -s "$wine_work/prog.qv3" "$wine_work/back_$name.qv3" ||
    fail "$name: the program read back differs from the one written"
  echo "device: $name: read back and saved, byte for byte the same"

  # Saved, so closing asks nothing.
  close_tarn "$name"
}

session tcp "[canshu_v2]\r\ncom_or_tcp=1\r\nip=127.0.0.1\r\nsocket_port=$port\r\n" 1 \
  --serial "$wine_work/sim-pty"
session serial "[canshu_v2]\r\ncom_or_tcp=0\r\ncom_num=$((com - 1))\r\nbtl_num=5\r\n" 0 \
  --tcp "127.0.0.1:$port"
echo "device: passed"
