#!/usr/bin/env bash
# tarn line condition as a user runs it: lines built from kind, parameters,
# a pick and typed text (prepared as the line editor prepares it), lines
# given as bytes, the hex check's messages on standard error, aliases
# through --names, and the errors.
# Usage: line_condition.sh PATH_TO_TARN
set -uo pipefail
tarn=$1
source "$(dirname "$0")/lib.bash"


expect_stderr() {  # description, expected standard error, command...
  local what=$1 want=$2; shift 2
  local got
  got=$("$@" 2>&1 >/dev/null)
  if [ "$got" != "$want" ]; then
    printf 'FAIL %s\n  want: %q\n  got:  %q\n' "$what" "$want" "$got"
    fail=1
  fi
}

expect_exit() {  # description, expected status, command...
  local what=$1 want=$2; shift 2
  "$@" >/dev/null 2>&1
  local got=$?
  if [ "$got" -ne "$want" ]; then
    printf 'FAIL %s: exit %s, want %s\n' "$what" "$got" "$want"
    fail=1
  fi
}

line() {  # instruction, length, text, param3
  printf 'instruction: %s\nlength: %s\ntext: %s\nparam3: %s' "$1" "$2" "$3" "$4"
}

local_integer=$(line "15 01 02 02 00 00 00 01 2C" 11 "整数2 > 300" "整数2 > 300")
expect_out "local integer compared with a value" "$local_integer" \
  "$tarn" line condition 21 1 2 "整数2 = 300"
expect_out "the same line given as bytes" "$local_integer" \
  "$tarn" line condition --bytes "15 01 02 02 00 00 00 01 2C"
expect_out "bytes without blanks" "$local_integer" \
  "$tarn" line condition --bytes 15010202000000012C
expect_out "no message for a good line" "" \
  bash -c "'$tarn' line condition 21 1 2 '整数2 = 300' 2>&1 >/dev/null"

expect_out "text trimmed before it is stored" \
  "$(line "0A 01 01 05 68 65 6C 6C 6F" 11 "数据口1 接收到字符串：hello" "hello")" \
  "$tarn" line condition 10 1 1 "  hello  "
expect_out "typographic quotes become ASCII quotes" \
  "$(line "19 01 03 05 22 61 62 63 22" 11 '数据口1 = 字符串 "abc"' '"abc"')" \
  "$tarn" line condition 25 1 3 "“abc”"
expect_out "full-width punctuation in a formula" \
  "$(line "18 01 01 18 18 0E 05 64 28 00 00 03 02 01 05 64 29 00 00 02 02 07 06 01 00 00 00 05" \
     30 "(整数1)>5" "(整数1)>5")" \
  "$tarn" line condition 24 1 1 "（整数1） 》 5"
expect_out "a picked weekday" "$(line "09 04 03 07" 6 "日期设定: 小于  星期日" "星期日")" \
  "$tarn" line condition --pick 7 9 4 3
expect_out "a pick on a kind without a list" "$(line "0A 01 01 00" 6 "数据口1 接收到字符串：" "")" \
  "$tarn" line condition --pick 7 10 1 1

# The hex check: the message on standard error, the line left as it was.
msg_blank='message: 警告：: 格式为：11 22 33 … AA BB CC … FF, 中间要有空格'
expect_stderr "hex list without blanks" "$msg_blank" "$tarn" line condition 11 1 1 "0102"
expect_out "hex list without blanks stores nothing" \
  "$(line "0B 01 01 00" 6 "数据口1 接收到16进制数据：" "")" \
  "$tarn" line condition 11 1 1 "0102"
expect_stderr "hex list with a bad character" \
  'message: 警告：: 字符范围0-9或A-F不能有特殊字符' "$tarn" line condition 11 1 1 "01 0G"
expect_stderr "long group before a blank" 'message: 警告：: 格式为：11 22 33 … AA BB CC … FF' \
  "$tarn" line condition 19 1 1 "012 34"

# Aliases from a name table file.
printf '门磁\t=\t输入3\r\n门限\t=\t全局整数3\r\n' | iconv -f UTF-8 -t GBK > "$tmp/names.txt"
expect_out "alias in the line text" "$(line "01 03 03" 5 "门磁  断开到闭合" "")" \
  "$tarn" line condition --names "$tmp/names.txt" 1 3 3
expect_out "alias typed in a formula" \
  "$(line "18 01 01 0E 0E 04 03 03 03 02 02 07 06 01 00 00 00 05" 20 "门限>5" "门限>5")" \
  "$tarn" line condition --names "$tmp/names.txt" 24 1 1 "门限 > 5"
expect_out "alias shown, system name in the param3 text" \
  "$(line "15 03 01 02 03 00 00 00 00" 11 "整数2 = 门限" "整数2 = 全局整数3")" \
  "$tarn" line condition --bytes "15 03 01 02 03" --names "$tmp/names.txt"

expect_exit "unknown kind" 1 "$tarn" line condition 26 1 1
expect_exit "parameter not a number" 2 "$tarn" line condition 3 x 1 5
expect_exit "too few parameters" 2 "$tarn" line condition 3 1
expect_exit "pick out of range" 2 "$tarn" line condition --pick 0 9 1 1
expect_exit "bad hex bytes" 2 "$tarn" line condition --bytes "15 0G"
expect_exit "more than 256 bytes" 2 "$tarn" line condition --bytes "$(printf '01 %.0s' {1..257})"
expect_exit "bytes and parameters" 2 "$tarn" line condition --bytes "15 01" 3 1 1
expect_exit "unknown option" 2 "$tarn" line condition --bogus 3 1 1
expect_exit "missing name table" 1 "$tarn" line condition --names "$tmp/none.txt" 3 1 1

[ $fail -eq 0 ] && echo "cli line condition: all passed"
exit $fail
