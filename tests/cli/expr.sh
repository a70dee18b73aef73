#!/usr/bin/env bash
# tarn expr as a user runs it: compile and render of every form, aliases from
# a name table file, empty results, usage errors and the help text.
# Usage: expr.sh PATH_TO_TARN
set -uo pipefail
tarn=$1
source "$(dirname "$0")/lib.bash"


expect_status() {  # description, expected exit status, command...
  local what=$1 want=$2; shift 2
  "$@" >/dev/null 2>&1
  local got=$?
  if [ "$got" -ne "$want" ]; then
    printf 'FAIL %s: exit %d, want %d\n' "$what" "$got" "$want"
    fail=1
  fi
}

code="0D 03 02 01 03 64 2B 06 01 00 00 00 05"
expect "compile" "$code" "$tarn" expr compile "整数1 + 5"
expect "render" "整数1 + 5" "$tarn" expr render "$code"
expect "words are joined" "$code" "$tarn" expr compile 整数1 + 5
expect "hex words are joined" "整数1 + 5" "$tarn" expr render $code
expect "empty code prints an empty line" "" "$tarn" expr compile --form expression "\"$(printf 'x%.0s' {1..200})\""
expect "broken lengths render empty" "" "$tarn" expr render "0E 03 02 01"

expect "comparison" "0E 04 03 02 01 02 04 07 06 01 00 00 00 0A" \
  "$tarn" expr compile --form comparison "整数1 >= 10"
expect "comparison text" "整数1>=10" \
  "$tarn" expr render --form comparison "0E 04 03 02 01 02 04 07 06 01 00 00 00 0A"
compound=$("$tarn" expr compile --form compound "整数1 > 1 并且 整数2 < 2")
expect "compound" "整数1>1 并且 整数2<2" "$tarn" expr render --form compound "$compound"
expect "list" "1, 整数2 + 1" "$tarn" expr render --form list "$("$tarn" expr compile --form list "1，整数2+1")"
statements=$("$tarn" expr compile --form statements "整数1 = 1; 整数2 = 整数1 + 2")
expect "statements" "整数1=1;整数2=整数1 + 2" "$tarn" expr render --form statements "$statements"
expect "separator" "整数1=1 | 整数2=整数1 + 2" \
  "$tarn" expr render --form statements --separator " | " "$statements"
call=$("$tarn" expr compile --form call-test "整数1 = 函数3(整数2, 5)")
expect "call-test" "整数1 = 函数3(整数2, 5)" "$tarn" expr render --form call-test --name 函数3 "$call"
expect "call-test without name" "整数1 = (整数2, 5)" "$tarn" expr render --form call-test "$call"
call=$("$tarn" expr compile --form call-assign "整数1 = 函数3(整数2)")
expect "call-assign" "整数1 = 调用[函数3]( 整数2 )" \
  "$tarn" expr render --form call-assign --name 调用 "$call"

printf '温度\t=\t整数1\r\n' | iconv -f UTF-8 -t GBK > "$tmp/names.txt"
expect "alias compiles" "$code" "$tarn" expr compile --names "$tmp/names.txt" "温度 + 5"
expect "alias renders" "温度 + 5" "$tarn" expr render --names "$tmp/names.txt" "$code"

expect_status "no action" 2 "$tarn" expr
expect_status "unknown action" 2 "$tarn" expr frobnicate 1
expect_status "unknown form" 2 "$tarn" expr compile --form nonsense "1"
expect_status "missing text" 2 "$tarn" expr compile
expect_status "bad hex" 2 "$tarn" expr render "zz"
expect_status "unknown option" 2 "$tarn" expr compile --frob "1"
expect_status "unreadable names" 1 "$tarn" expr compile --names "$tmp/none.txt" "1"
# Refusals are failures: a formula the byte code cannot carry, a name table
# taken only in part.
expect_status "index after resource 300" 1 "$tarn" expr compile "全局整数300[1]"
expect_status "refused in a comparison" 1 "$tarn" expr compile --form comparison "全局整数70000 > 1"
printf '温度\t=\t整数1\r\n全局整数7\t=\t全局整数3\r\n' | iconv -f UTF-8 -t GBK > "$tmp/bad-names.txt"
expect_status "name table with a refused line" 1 "$tarn" expr compile --names "$tmp/bad-names.txt" "1"

help=$("$tarn" expr --help)
for word in "usage: tarn expr compile" "tarn expr render" --form --names --separator --name \
    expression comparison compound list statements call-test call-assign; do
  if ! grep -qe "$word" <<<"$help"; then
    echo "FAIL help lacks $word"; fail=1
  fi
done

[ $fail -eq 0 ] && echo "cli expr: all passed"
exit $fail
