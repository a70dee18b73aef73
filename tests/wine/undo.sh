#!/usr/bin/env bash
# "撤销" in Tarn.exe under Wine and Xvfb, as a user meets it: a line deleted
# from the main list with the Delete key comes back with Ctrl+Z, drawn where
# it was, and "另存" writes all four lines again.
# Screenshots: main_deleted.png, main_undone.png.
# Usage: undo.sh <Tarn.exe> <screenshot folder> [tarn.exe] <tarn-sim>
set -uo pipefail

. "$(dirname "$0")/wine_session.bash"
wine_script_args undo "$@"
wine_session_start "$(dirname "$exe")"

title_pattern='^Orlo V1\.326\(固件0\.129\)'

# ---- The program: two rules of one condition and one result each.
cat >"$wine_work/p.json" <<'JSON'
{"format": "orlo-program", "version": 1, "sections": [
  {"section": "main", "lines": [
    {"type": "condition", "kind": 1, "param1": 1, "param2": 1},
    {"type": "result", "kind": 1, "param1": 1, "param2": 1, "param3": "1", "remark": "second"},
    {"type": "condition", "kind": 1, "param1": 6, "param2": 1},
    {"type": "result", "kind": 1, "param1": 1, "param2": 6, "param3": "1"}]}]}
JSON
open_sample_program

# The main list from its second row down, as it is drawn now.
rows_shot() {  # file
  sleep 1
  timeout 10 import -window "$win" -crop "600x120+$client_x+$((client_y + 45))" "$wine_work/$1" ||
    fail "no picture of the list"
}
# True when two pictures hold the same pixels.
same_pixels() {
  [ "$(compare -metric AE "$wine_work/$1" "$wine_work/$2" null: 2>&1)" = "0" ]
}

# ---- Row 1 (the first rule's result) chosen and deleted with the Delete
# key; "确认要删除吗？" answered Yes.
click 300 52
rows_shot before.png
keys Delete
wait_window '^警告$' 20 "the question"
keys Return
wait_gone '^警告$' 10 "the question answered"
rows_shot deleted.png
shot "$win" main_deleted.png
same_pixels before.png deleted.png && fail "the list still shows the deleted line"

# ---- Ctrl+Z: the line is back where it was, the same row chosen.
keys ctrl+z
rows_shot undone.png
shot "$win" main_undone.png
same_pixels before.png undone.png ||
  fail "after Ctrl+Z the list is not drawn as before the delete"

# ---- "另存": all four lines, the second the one deleted and brought back.
click 125 12
file_dialog '^Save As$' "$(winpath "$wine_work/back.qv3")" "save as"
poll 10 test -s "$wine_work/back.qv3" || fail "nothing saved"
"$tarn" show "$wine_work/back.qv3" >"$wine_work/show.txt" 2>&1 || fail "tarn show failed"
[ "$(grep -c . "$wine_work/show.txt")" -eq 4 ] || fail "rows are missing: $(cat "$wine_work/show.txt")"
sed -n 2p "$wine_work/show.txt" | grep -q '备注:second$' ||
  fail "the line brought back is not the second row: $(cat "$wine_work/show.txt")"
echo "undo: passed"
