#!/usr/bin/env bash
# tarn device verify against tarn-sim on 127.0.0.1: a program written is
# "identical"; one changed line in the file is reported as exactly that line;
# a function file is checked against its section; a read spoilt by the
# simulator's corrupting fault is a failure (status 2), never "identical".
# Every process is bounded in time and stopped at the end.
# Usage: verify.sh PATH_TO_TARN PATH_TO_TARN_SIM
set -uo pipefail
. "$(dirname "$0")/lib.bash" "$@"
expect_status() {  # description, status, tarn arguments...
  local what=$1 status=$2; shift 2
  run "$@"
  [ "$rc" = "$status" ] || bad "$what: status $rc, wanted $status; out: $(cat out.txt) err: $(cat err.txt)"
}


# Main program of three rules, function 2 and thread 1; the second file
# changes one line of function 2 (input 6 instead of input 5).
program() {  # input number of function 2's second line
  cat <<JSON
{"format": "orlo-program", "version": 1, "sections": [
 {"section": "main", "lines": [
  {"type": "condition", "bytes": "01 01 01", "remark": "门"},
  {"type": "result", "bytes": "01 01 01 00 00 00 01"},
  {"type": "condition", "bytes": "01 02 01"},
  {"type": "result", "bytes": "01 01 01 00 00 00 02", "remark": "灯"}]},
 {"section": "function", "number": 2, "lines": [
  {"type": "condition", "bytes": "01 03 01"},
  {"type": "condition", "orElse": 1, "bytes": "01 0$1 01"},
  {"type": "result", "bytes": "01 01 01 00 00 00 03"}]},
 {"section": "thread", "number": 1, "lines": [
  {"type": "result", "bytes": "01 01 01 00 00 00 04"}]}],
 "names": [{"alias": "水泵", "system": "输出3"}]}
JSON
}
program 5 >p.json
program 6 >changed.json
timeout 30 "$tarn" build p.json p.qv3 && timeout 30 "$tarn" build changed.json changed.qv3 ||
  { bad "building the programs"; exit 1; }

start_sim sim.log --tcp 127.0.0.1:0
link=(--tcp "127.0.0.1:$port")
expect_status "write" 0 device "${link[@]}" write p.qv3
expect_status "verify after write" 0 device "${link[@]}" verify p.qv3
[ "$(cat out.txt)" = identical ] || bad "verify says: $(cat out.txt)"
expect_status "verify against the JSON form" 0 device "${link[@]}" verify p.json

expect_status "verify a changed file" 1 device "${link[@]}" verify changed.qv3
grep -q identical out.txt && bad "a changed file called identical"
[ "$(grep -c '^[^ -+].*: \(changed\|inserted\|removed\)$' out.txt)" = 1 ] ||
  bad "not exactly one difference: $(cat out.txt)"
grep -qx "函数2:2: changed" out.txt || bad "the changed line: $(cat out.txt)"
grep -q "^  - 2: .*输入6" out.txt && grep -q "^  + 2: .*输入5" out.txt ||
  bad "both sides of the line: $(cat out.txt)"

# A function file against its section, chosen by the section option.
printf '{"format": "orlo-program", "version": 1, "sections": [{"section": "block", "id": 0, "lines": [{"type": "result", "bytes": "01 01 01 00 00 00 04"}]}]}' >t.json
timeout 30 "$tarn" build t.json t.hanshu || bad "building t.hanshu"
expect_status "function file against thread 1" 0 device "${link[@]}" --section 线程1 verify t.hanshu
expect_status "function file against the main program" 1 device "${link[@]}" verify t.hanshu

# Nothing was written by verifying: the controller still holds p.qv3.
expect_status "read back" 0 device "${link[@]}" read back.qv3
cmp -s p.qv3 back.qv3 || bad "the controller's program changed while verifying"

expect_status "usage" 2 device verify
grep -q -- "--section 主程序" err.txt || bad "the usage in UTF-8: $(cat err.txt)"

# Failed reads: status 2, a reason, never "identical".
expect_status "missing file" 2 device "${link[@]}" verify missing.qv3
expect_status "nothing listening" 2 device --tcp 127.0.0.1:1 verify p.qv3
grep -q "建立连接失败" err.txt || bad "no reason for the failed connection: $(cat err.txt)"
for every in 1 2; do
  start_sim corrupt$every.log --tcp 127.0.0.1:0 --program p.qv3 --corrupt-every $every
  expect_status "corrupted read (every $every)" 2 device --tcp "127.0.0.1:$port" --timeout 0.5 verify p.qv3
  grep -q identical out.txt && bad "a corrupted read called identical (every $every)"
  grep -q "could not be read" err.txt || bad "no reason (every $every): $(cat err.txt)"
done

exit $fail
