#!/usr/bin/env bash
# tarn xref and tarn lint on a program built for the purpose: a call to an
# empty function, an alias that names nothing used, a thread never started.
# Usage: xref.sh PATH_TO_TARN
set -uo pipefail
tarn=$1
source "$(dirname "$0")/lib.bash"

cat > "$tmp/x.json" <<'JSON'
{"format": "orlo-program", "version": 1, "sections": [
 {"section": "main", "lines": [
  {"type": "condition", "bytes": "01 01 01"},
  {"type": "result", "bytes": "0C 01 03"},
  {"type": "result", "bytes": "0C 01 01"},
  {"type": "result", "bytes": "24 01 07 08 08 07 06 01 00 00 00 01"}]},
 {"section": "function", "number": 1, "lines": [{"type": "condition", "bytes": "01 01 01"}]},
 {"section": "thread", "number": 1, "lines": [{"type": "condition", "bytes": "01 02 01"}]},
 {"section": "thread", "number": 2, "lines": [{"type": "condition", "bytes": "01 03 01"}]}],
 "names": [{"alias": "门", "system": "输入1"}, {"alias": "水泵", "system": "输出9"}]}
JSON
"$tarn" build "$tmp/x.json" "$tmp/x.qv3" || { echo "FAIL build"; exit 1; }

expect "lint: each finding once" "主程序:2: 函数3 is called but holds no lines
线程2:1: 线程2 holds lines but is never started
names:2: alias 水泵 names 输出9, which the program does not use" "$tarn" lint "$tmp/x.qv3"
"$tarn" lint "$tmp/x.qv3" >/dev/null; fail_if '[ $? != 1 ]' "lint with warnings exits 1"
"$tarn" lint "$tmp/x.json" >/dev/null; fail_if '[ $? != 1 ]' "lint reads the JSON form too"

expect_out "xref: input 1 by alias, in two places" "输入1 (门)
  主程序:1: condition
  函数1:1: condition" sed -n 1,3p <("$tarn" xref "$tmp/x.qv3")
fail_if '! "$tarn" xref "$tmp/x.qv3" | grep -qx "函数3"' "the empty function called is listed"

"$tarn" lint "$tmp/missing.qv3" >/dev/null 2>&1; fail_if '[ $? != 2 ]' "a missing file exits 2"
"$tarn" xref >/dev/null 2>&1; fail_if '[ $? != 2 ]' "usage exits 2"

finish xref
