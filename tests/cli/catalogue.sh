#!/usr/bin/env bash
# tarn catalogue as a user runs it: the kind lists of the line editor, a
# kind's length and choice lists, aliases through --names, errors and help.
# Usage: catalogue.sh PATH_TO_TARN
set -uo pipefail
tarn=$1
source "$(dirname "$0")/lib.bash"


count() {  # description, expected number of lines, command...
  local what=$1 want=$2; shift 2
  local got
  got=$("$@" | wc -l)
  if [ "$got" -ne "$want" ]; then
    printf 'FAIL %s: %s lines, want %s\n' "$what" "$got" "$want"
    fail=1
  fi
}

count "condition kinds" 17 "$tarn" catalogue condition
count "result kinds" 23 "$tarn" catalogue result
count "integer operations" 62 "$tarn" catalogue result 4 1
count "timers with the length line" 201 "$tarn" catalogue result 2

expect "first and last condition kinds" $'1\t外部输入\n25\t数据口接收到数据(118)' \
  bash -c "'$tarn' catalogue condition | sed -n '1p;\$p'"
expect "result kind order" "36 1 2 3 4 32 5 6 7 8 12 13 19 20 24 26 27 9 30 33 34 31 38" \
  bash -c "'$tarn' catalogue result | cut -f1 | tr '\n' ' ' | sed 's/ \$//'"
expect "weekday choices" $'6\t星期6\n7\t星期日' \
  bash -c "'$tarn' catalogue condition 9 4 0 | tail -2"
expect "kind with a length and param1 list" $'length\t9\n1\t=0\n2\t=1\n3\t翻转' \
  "$tarn" catalogue result 3
expect "fixed input condition" $'length\t4\n1\t上电初始化\n2\t本条件恒定成立\n3\t本条件恒定不成立' \
  "$tarn" catalogue condition 6
expect "trailing blank kept" "16	= 本机地址的值 " \
  bash -c "'$tarn' catalogue result 4 1 | sed -n 16p"
expect "tab kept" "$(printf '5\t除以某值\t')" \
  bash -c "'$tarn' catalogue result 26 1 | sed -n 5p"
expect "suggestions" $'1\t根据需要\n2\t固定1字节' \
  bash -c "'$tarn' catalogue result 19 1 17 | head -2"
expect "no suggestions" "" "$tarn" catalogue result 4 1 1

printf '延时\t=\t定时器3\r\n门磁\t=\t输入3\r\n' | iconv -f UTF-8 -t GBK > "$tmp/names.txt"
expect "alias in a result list" $'3\t延时' \
  bash -c "'$tarn' catalogue result --names '$tmp/names.txt' 2 | sed -n 4p"
expect "alias in a condition list" $'3\t门磁' \
  bash -c "'$tarn' catalogue condition 1 --names '$tmp/names.txt' | sed -n 4p"

"$tarn" catalogue condition 26 >/dev/null 2>&1; [ $? -eq 1 ] || { echo "FAIL unnamed kind exit"; fail=1; }
"$tarn" catalogue result 40 >/dev/null 2>&1; [ $? -eq 1 ] || { echo "FAIL unknown kind exit"; fail=1; }
"$tarn" catalogue result 256 >/dev/null 2>&1; [ $? -eq 2 ] || { echo "FAIL kind 256 exit"; fail=1; }
"$tarn" catalogue result x >/dev/null 2>&1; [ $? -eq 2 ] || { echo "FAIL non-number exit"; fail=1; }
"$tarn" catalogue >/dev/null 2>&1; [ $? -eq 2 ] || { echo "FAIL missing catalogue exit"; fail=1; }
"$tarn" catalogue result 1 2 3 4 >/dev/null 2>&1; [ $? -eq 2 ] || { echo "FAIL extra argument exit"; fail=1; }
"$tarn" catalogue result --bogus >/dev/null 2>&1; [ $? -eq 2 ] || { echo "FAIL unknown option exit"; fail=1; }
"$tarn" catalogue --help | grep -q "usage: tarn catalogue" || { echo "FAIL catalogue --help"; fail=1; }

[ $fail -eq 0 ] && echo "cli catalogue: all passed"
exit $fail
