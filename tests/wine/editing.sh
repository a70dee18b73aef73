#!/usr/bin/env bash
# The line editor and the function list of Tarn.exe under Wine and Xvfb, as a
# user drives them: a line built in the real "编辑指令" dialog with the keyboard
# appears in the main list and, saved with "另存", in the file; then the
# function list with its marks and a section list widened for a long alias.
# Screenshots: line_editor.png, main_new_line.png, function_list.png.
# Usage: editing.sh <Tarn.exe> <screenshot folder> [tarn.exe] <tarn-sim>
set -uo pipefail

. "$(dirname "$0")/wine_session.bash"
wine_script_args editing "$@"
wine_session_start "$(dirname "$exe")"

# The window's client area starts this far into its X window (Wine draws the
# frame, the caption and the menu bar itself: no window manager here).
title_pattern='^Orlo V1\.326\(固件0\.129\)'

# ---- The program: one rule, two functions with lines, a long alias for
# function 2.
cat >"$wine_work/p.json" <<'JSON'
{"format": "orlo-program", "version": 1, "sections": [
  {"section": "main", "lines": [
    {"type": "condition", "kind": 1, "param1": 1, "param2": 1},
    {"type": "result", "kind": 1, "param1": 1, "param2": 1, "param3": "1"}]},
  {"section": "function", "number": 1, "lines": [
    {"type": "condition", "kind": 3, "param1": 1, "param2": 1, "param3": "100"},
    {"type": "result", "kind": 1, "param1": 2, "param2": 1, "param3": "1", "remark": "定时到"}]},
  {"section": "function", "number": 3, "lines": [
    {"type": "result", "kind": 4, "param1": 1, "param2": 1, "param3": "-1"}]}],
 "names": [{"alias": "读取温度传感器的函数", "system": "函数2"}]}
JSON
open_sample_program

# ---- A new line after the first row, built in the editor with the keyboard.
click 300 37    # row 0 of the main list
click 257 12    # "添加指令"
wait_window '^编辑指令$' 20 "line editor"
editor=$found
# The remark has the focus; back to the side list: third parameter, second
# choice, first choice, kind, check box, side.
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
keys Down                      # "输出结果"
keys Tab Tab                   # past the check box to the kinds
keys Down Down                 # "系统软件资源(118)", then "输出操作"
keys Tab Down Down Down        # first choice 4: "点动某一路"
keys Tab Tab                   # the third parameter
keys ctrl+a
timeout 10 xdotool type --delay 60 "500"
keys Tab
timeout 10 xdotool type --delay 60 "jog"
shot "$editor" line_editor.png
keys Tab Return                # "确认"
wait_gone '^编辑指令$' 10 "line editor confirmed"
sleep 1
shot "$win" main_new_line.png

# ---- Saved with "另存": the new line is the second row of the file.
click 125 12
file_dialog '^Save As$' "$(winpath "$wine_work/back.qv3")" "save as"
poll 10 test -s "$wine_work/back.qv3" || fail "nothing saved"
"$tarn" show "$wine_work/back.qv3" >"$wine_work/show.txt" 2>&1 || fail "tarn show failed"
sed -n 2p "$wine_work/show.txt" | grep -q -- '->  输出操作  点动 输出1 500ms       备注:jog$' ||
  fail "the line built in the editor is not the second row: $(head -4 "$wine_work/show.txt")"
[ "$(grep -c . "$wine_work/show.txt")" -ge 3 ] || fail "rows are missing"
echo "editing: the line built in the editor is in the main list and the file"

# ---- "设置" > "函数列表".
timeout 5 xdotool mousemove --window "$win" 88 33 click 1
keys Down Down Return
wait_window '^函数列表$' 20 "function list"
shot "$found" function_list.png
echo "editing: passed"
