#!/usr/bin/env bash
# Orlo.exe against tarn-sim under Wine and Xvfb over a serial line, driven
# from the keyboard through its menus: the connection button opens COM7 (a
# Wine COM port linked to tarn-sim's pseudo-terminal, read by Orlo's
# event-waiting serial class); a program opened with 文件 > 打开 is written
# with 通信 > 写入全部 and checked on the controller over tarn-sim's other
# line, read back with 文件 > 新建 and 通信 > 读取全部, and saved with
# 文件 > 另存: the file saved is byte for byte the one opened. Bounded in
# time.
# Usage: device.sh <Orlo.exe> <screenshot folder> [tarn.exe] <tarn-sim>
set -uo pipefail

. "$(dirname "$0")/../wine_session.bash"
wine_script_args device "$@"
wine_session_start "$(dirname "$exe")"
title_pattern='^Orlo V1\.326\(固件0\.129\)'

# ---- The program: rules, a function and an alias.
cat >"$wine_work/p.json" <<'JSON'
{"format": "orlo-program", "version": 1, "sections": [
  {"section": "main", "lines": [
    {"type": "condition", "kind": 21, "param1": 1, "param2": 2, "param3": "整数2 = 300", "remark": "超过三百"},
    {"type": "condition", "orElse": 1, "kind": 1, "param1": 2, "param2": 1},
    {"type": "result", "kind": 1, "param1": 1, "param2": 1, "param3": "1"},
    {"type": "condition", "kind": 1, "param1": 3, "param2": 1},
    {"type": "result", "kind": 1, "param1": 2, "param2": 1, "param3": "1", "remark": "打开输出2"},
    {"type": "result", "orElse": 1, "kind": 1, "param1": 2, "param2": 0, "param3": "1"}
  ]},
  {"section": "function", "number": 5, "lines": [
    {"type": "result", "bytes": "01 01 01 00 00 00 01"}]}],
 "names": [{"alias": "温度", "system": "整数2"}]}
JSON
"$tarn" build "$wine_work/p.json" "$wine_work/prog.qv3" >"$wine_work/build.log" 2>&1 ||
  fail "tarn build of the sample program failed"

# ---- The simulated controller: the pseudo-terminal for Orlo.exe, TCP for
# looking at what it holds.
start_sim_both_lines 7 device

# A message box: waits for it and presses Return (Yes / OK).
confirm() {  # title pattern, seconds, what
  wait_window "$1" "$2" "$3"
  keys Return
  wait_gone "$1" 10 "$3"
}
# Opens menu number $1 of the menu bar (0: 文件) from the keyboard and
# chooses its entry number $2 (0: the first).
menu() {  # menu, entry
  # The keyboard back to the main window (after a dialog); apart in time
  # from any click before, which would make a double click.
  sleep 1
  click 600 300
  local moves=(F10) i
  for ((i = 0; i < $1; ++i)); do moves+=(Right); done
  moves+=(Down)
  for ((i = 0; i < $2; ++i)); do moves+=(Down); done
  keys "${moves[@]}" Return
}
file_menu=0
comm_menu=4

printf '[canshu_v2]\r\ncom_or_tcp=0\r\ncom_num=%d\r\nbtl_num=9\r\n' $((com - 1)) >"$wine_work/qv_pV2.ini"
(cd "$wine_work" && exec wine "$exe") </dev/null >"$wine_work/orlo.log" 2>&1 &
wine_child_pid=$!
poll 60 find_main || fail "no main window"
sleep 2

# 文件 > 打开.
menu $file_menu 1
file_dialog '^Open$' "$(winpath "$wine_work/prog.qv3")" "open"
poll 10 bash -c "xdotool getwindowname $win | grep -q 'prog.qv3'" ||
  fail "the title does not name the opened file"

# The connection button (串口未连接, the one click outside the menus)
# opens COM7, then 通信 > 写入全部: the question, then the completion
# message.
sleep 1
click 515 12
menu $comm_menu 1
confirm '^警告 目标地址1$' 20 "write question"
confirm '^提示$' 120 "write finished"
timeout 60 "$tarn" device --tcp "127.0.0.1:$port" read "$wine_work/sim.qv3" \
  >>"$wine_work/tarn-read.log" 2>&1 || fail "tarn could not read the controller's program"
cmp -s "$wine_work/prog.qv3" "$wine_work/sim.qv3" ||
  fail "the controller holds other bytes than the file written"
echo "device: written over COM$com, the controller holds the same bytes"

# 文件 > 新建, 通信 > 读取全部, 文件 > 另存.
menu $file_menu 0
poll 10 bash -c "! xdotool getwindowname $win | grep -q 'prog.qv3'" ||
  fail "新建 left the file name in the title"
menu $comm_menu 0
confirm '^警告 目标地址1$' 20 "read question"
confirm '^提示$' 120 "read finished"
menu $file_menu 3
file_dialog '^Save As$' "$(winpath "$wine_work/back.qv3")" "save as"
poll 10 test -s "$wine_work/back.qv3" || fail "nothing saved"
cmp -s "$wine_work/prog.qv3" "$wine_work/back.qv3" ||
  fail "the program read back differs from the one written"
echo "device: read back over COM$com and saved, byte for byte the same"

# Saved, so closing asks nothing.
close_tarn "Orlo.exe"
echo "device: passed"
