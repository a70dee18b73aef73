#!/usr/bin/env bash
# The context menu's "导入示例程序" in Tarn.exe under Wine and Xvfb: with the
# first row selected, "输入控制输出点动程序" puts the example's two lines
# after it in the main list, and "另存" writes them to the file.
# Screenshot: main_example.png.
# Usage: examples.sh <Tarn.exe> <screenshot folder> [tarn.exe] <tarn-sim>
set -uo pipefail

. "$(dirname "$0")/wine_session.bash"
wine_script_args examples "$@"
wine_session_start "$(dirname "$exe")"

title_pattern='^Orlo V1\.326\(固件0\.129\)'

# ---- The program: two rules of one condition and one result each.
cat >"$wine_work/p.json" <<'JSON'
{"format": "orlo-program", "version": 1, "sections": [
  {"section": "main", "lines": [
    {"type": "condition", "kind": 1, "param1": 1, "param2": 1},
    {"type": "result", "kind": 1, "param1": 1, "param2": 1, "param3": "1"},
    {"type": "condition", "kind": 1, "param1": 6, "param2": 1},
    {"type": "result", "kind": 1, "param1": 1, "param2": 6, "param3": "1"}]}]}
JSON
open_sample_program

# ---- Row 1 (the first rule's result) selected, then the context menu:
# 剪切, 复制, 粘贴, (separator), 导入示例程序 > its second entry.
click 300 52
timeout 5 xdotool mousemove --window "$win" $((client_x + 300)) $((client_y + 52)) click 3
keys Down Down Down Down Right Down Return
sleep 1
shot "$win" main_example.png

# ---- Saved with "另存": the example's lines are rows 3 and 4 of the file.
click 125 12
file_dialog '^Save As$' "$(winpath "$wine_work/back.qv3")" "save as"
poll 10 test -s "$wine_work/back.qv3" || fail "nothing saved"
"$tarn" show "$wine_work/back.qv3" >"$wine_work/show.txt" 2>&1 || fail "tarn show failed"
sed -n 3p "$wine_work/show.txt" | grep -q '如果  点动按钮  断开到闭合' ||
  fail "the example's condition is not the third row: $(cat "$wine_work/show.txt")"
sed -n 4p "$wine_work/show.txt" | grep -q -- '->  输出操作  点动 点动输出 1000ms' ||
  fail "the example's result is not the fourth row: $(cat "$wine_work/show.txt")"
[ "$(grep -c . "$wine_work/show.txt")" -eq 6 ] || fail "rows are missing or extra: $(cat "$wine_work/show.txt")"
echo "examples: passed"
