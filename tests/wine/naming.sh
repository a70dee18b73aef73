#!/usr/bin/env bash
# The global naming window of Tarn.exe under Wine and Xvfb, as a user drives
# it: "设置" > "重命名" opens "全局命名"; giving 全局整数3 a new name there and
# pressing "确定" redraws the main list, whose line now shows the alias, and
# "另存" writes the alias into the file. The table's text, edited in the
# "重命名" window, replaces the table.
# Screenshots: naming.png, main_renamed.png, naming_text.png.
# Usage: naming.sh <Tarn.exe> <screenshot folder> [tarn.exe] <tarn-sim>
set -uo pipefail

. "$(dirname "$0")/wine_session.bash"
wine_script_args naming "$@"
wine_session_start "$(dirname "$exe")"
title_pattern='^Orlo V1\.326\(固件0\.129\)'

# ---- A program whose one rule compares 全局整数3.
cat >"$wine_work/p.json" <<'JSON'
{"format": "orlo-program", "version": 1, "sections": [
  {"section": "main", "lines": [
    {"type": "condition", "kind": 24, "param1": 1, "param2": 1, "param3": "全局整数3 > 300"},
    {"type": "result", "kind": 1, "param1": 1, "param2": 1, "param3": "1"}]}]}
JSON
open_sample_program

# The first row of the main list as it is drawn now.
row_shot() {  # file
  sleep 1
  timeout 10 import -window "$win" -crop "400x18+$client_x+$((client_y + 27))" "$wine_work/$1" ||
    fail "no picture of the first row"
}
row_shot before.png

# ---- "设置" > "重命名": the fourth entry.
timeout 5 xdotool mousemove --window "$win" 88 33 click 1
keys Down Down Down Down Return
wait_window '^全局命名$' 20 "naming window"
naming=$found
# The category list has the focus with "全局整数" chosen; in the item list,
# the fourth row is 全局整数3; then the name edit.
keys Tab Down Down Down Tab
keys ctrl+a
timeout 10 xdotool type --delay 60 "wendu"
shot "$naming" naming.png
keys Return                    # "确定": the new name is taken, the window hides
wait_gone '^全局命名$' 10 "naming window closed"
row_shot after.png
shot "$win" main_renamed.png
cmp -s "$wine_work/before.png" "$wine_work/after.png" &&
  fail "the main list still draws the first row as before"

# ---- "查看文本": the table as text in the information window, titled
# "重命名"; a line typed at its end is taken when "确定" closes it.
timeout 5 xdotool mousemove --window "$win" 88 33 click 1
keys Down Down Down Down Return
wait_window '^全局命名$' 20 "naming window again"
naming=$found
timeout 5 xdotool mousemove --window "$naming" 475 157 click 1
wait_window '^重命名$' 20 "the table as text"
text_window=$found
timeout 5 xdotool mousemove --window "$text_window" 100 100 click 1
keys ctrl+End Return
timeout 10 xdotool type --delay 60 "pump=PA3"
shot "$text_window" naming_text.png
eval "$(xdotool getwindowgeometry --shell "$text_window")"
timeout 5 xdotool mousemove --window "$text_window" 50 $((HEIGHT - 24)) click 1
wait_gone '^重命名$' 10 "the table as text confirmed"
find_titled '^全局命名$' || fail "the naming window went with the text"
keys Return
wait_gone '^全局命名$' 10 "naming window closed again"

# ---- Saved with "另存": the file carries the aliases, and its line shows one.
click 125 12
file_dialog '^Save As$' "$(winpath "$wine_work/back.qv3")" "save as"
poll 10 test -s "$wine_work/back.qv3" || fail "nothing saved"
"$tarn" names list "$wine_work/back.qv3" >"$wine_work/names.txt" 2>&1
[ "$(cat "$wine_work/names.txt")" = "wendu	全局整数3
pump	PA3" ] || fail "the aliases are not in the saved file: $(cat "$wine_work/names.txt")"
"$tarn" show "$wine_work/back.qv3" | head -1 | grep -q "wendu>300" ||
  fail "the saved line does not show the alias: $("$tarn" show "$wine_work/back.qv3" | head -1)"
echo "naming: passed"
