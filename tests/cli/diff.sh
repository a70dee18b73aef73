#!/usr/bin/env bash
# tarn diff: rule-level differences between program files, function files and
# their JSON forms, the exit status, and the git set-up the README gives
# (tarn show as textconv, tarn diff as difftool).
# Usage: diff.sh PATH_TO_TARN
set -uo pipefail
tarn=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source "$(dirname "$0")/lib.bash"
cd "$tmp" || exit 1

# A program of six rules' lines and a function of five; b.json inserts one
# line in the function and changes one remark in the main program.
program() {  # remark of main line 4, extra function line (JSON or empty)
  printf '{"format": "orlo-program", "version": 1, "sections": [{"section": "main", "lines": [\n'
  for n in 1 2 3 4 5 6; do
    remark=r$n; [ $n = 4 ] && remark=$1
    printf '{"type": "condition", "bytes": "01 0%s 01", "remark": "%s"},\n' $n "$remark"
  done
  printf '{"type": "result", "bytes": "01 01 01 00 00 00 01"}]},\n'
  printf '{"section": "function", "number": 5, "lines": [\n'
  printf '{"type": "condition", "bytes": "01 01 01"}, {"type": "condition", "bytes": "01 02 01"},\n%s' "$2"
  printf '{"type": "condition", "bytes": "01 03 01"}, {"type": "result", "bytes": "01 01 01 00 00 00 02"}]}],\n'
  printf ' "names": [{"alias": "水泵", "system": "输出3"}]}\n'
}
program r4 "" >a.json
program 新备注 '{"type": "condition", "orElse": 1, "bytes": "01 09 01"},' >b.json
"$tarn" build a.json a.qv3 && "$tarn" build b.json b.qv3 || { echo "FAIL build"; exit 1; }

status() { "$@" >out.txt 2>err.txt; echo $?; }
headings() { grep -cE '^[^ ].*:[0-9]+: (changed|inserted|removed)$' out.txt; }

expect "same program, file and JSON" "0" status "$tarn" diff a.qv3 a.json
fail_if '[ -s out.txt ]' "identical programs print nothing: $(cat out.txt)"

expect "one insertion and one remark" "1" status "$tarn" diff a.qv3 b.qv3
expect "exactly two differences" "2" headings
fail_if '! grep -qx "主程序:4: changed" out.txt' "the remark change: $(cat out.txt)"
fail_if '! grep -qx "函数5:3: inserted" out.txt' "the insertion: $(cat out.txt)"
fail_if '! grep -q "^  + 4: .*备注:新备注$" out.txt' "the new remark as the list shows it"
expect "JSON against program file" "1" status "$tarn" diff a.json b.qv3
expect "still two" "2" headings

# A function file is compared with the section of its id.
printf '{"format": "orlo-program", "version": 1, "sections": [{"section": "function", "number": 5, "lines": [{"type": "condition", "bytes": "01 01 01"}, {"type": "condition", "bytes": "01 02 01"}, {"type": "condition", "bytes": "01 03 01"}, {"type": "result", "bytes": "01 01 01 00 00 00 02"}]}]}' >f.json
"$tarn" build f.json f.hanshu || echo "FAIL build f.hanshu"
expect "function file against its section" "0" status "$tarn" diff f.hanshu a.qv3
expect "function file against the changed section" "1" status "$tarn" diff f.hanshu b.qv3
expect "one insertion" "函数5:3: inserted" sed -n 3p out.txt

# Same text, different bytes: the first condition's OR flag does not show.
sed 's/"bytes": "01 01 01", "remark": "r1"/"orElse": 1, "bytes": "01 01 01", "remark": "r1"/' a.json >c.json
expect "flag only" "1" status "$tarn" diff a.json c.json
fail_if '! grep -qx "  bytes - 07 02 01 01 01 72 31" out.txt' "bytes of A: $(cat out.txt)"
fail_if '! grep -qx "  bytes + 07 42 01 01 01 72 31" out.txt' "bytes of B: $(cat out.txt)"

expect "missing file" "2" status "$tarn" diff a.qv3 missing.qv3
expect "one argument" "2" status "$tarn" diff a.qv3
expect "not a program" "2" status "$tarn" diff a.qv3 a.txt

# git: tarn show as textconv, tarn diff as difftool, as the README sets them up.
if command -v git >/dev/null; then
  export HOME=$tmp GIT_CONFIG_NOSYSTEM=1
  git init -q repo && cd repo || exit 1
  printf '*.qv3 diff=tarn\n*.hanshu diff=tarn\n' >.gitattributes
  git config diff.tarn.textconv "$tarn show"
  git config difftool.tarn.cmd "$tarn diff \"\$LOCAL\" \"\$REMOTE\""
  cp ../a.qv3 p.qv3 && git add . && git -c user.name=t -c user.email=t@t commit -qm a
  cp ../b.qv3 p.qv3
  got=$(git diff | grep '^[-+] ' | grep -c 备注:)
  expect "git diff through tarn show" "2" echo "$got"
  git difftool -y --tool=tarn >out.txt 2>&1
  expect "git difftool through tarn diff" "2" headings
  cd .. || exit 1
fi

finish diff
