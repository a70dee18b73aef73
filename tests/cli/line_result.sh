#!/usr/bin/env bash
# tarn line result as a user runs it: a result line built the way the line
# editor builds it (kind defaults, picks, text preparation) or decoded from
# its bytes, aliases through --names, messages on standard error, errors.
# Usage: line_result.sh PATH_TO_TARN
set -uo pipefail
tarn=$1
source "$(dirname "$0")/lib.bash"


expect_line() {  # description, line number, expected line, command...
  local what=$1 n=$2 want=$3; shift 3
  local got
  got=$("$@" 2>/dev/null | sed -n "${n}p")
  if [ "$got" != "$want" ]; then
    printf 'FAIL %s\n  want: %q\n  got:  %q\n' "$what" "$want" "$got"
    fail=1
  fi
}

expect_stderr() {  # description, expected standard error, command...
  local what=$1 want=$2; shift 2
  local got
  got=$("$@" 2>&1 >/dev/null)
  if [ "$got" != "$want" ]; then
    printf 'FAIL %s\n  want: %q\n  got:  %q\n' "$what" "$want" "$got"
    fail=1
  fi
}

expect_status() {  # description, expected exit status, command...
  local what=$1 want=$2; shift 2
  "$@" >/dev/null 2>&1
  local got=$?
  if [ "$got" -ne "$want" ]; then
    printf 'FAIL %s: exit %s, want %s\n' "$what" "$got" "$want"
    fail=1
  fi
}

jog=$'instruction: 01 04 03 00 00 01 F4\nlength: 9\ntext: 输出操作  点动 输出3 500ms\nparam3: 500'
expect_out "jog an output" "$jog" "$tarn" line result 1 4 3 500
expect_out "the same line from its bytes" "$jog" "$tarn" line result --bytes "01 04 03 00 00 01 F4"
expect_out "raw GBK with --gbk" "$jog" bash -c "'$tarn' --gbk line result 1 4 3 500 | iconv -f GBK -t UTF-8"
expect_line "channel list" 1 "instruction: 01 05 01 80 00 00 07" "$tarn" line result 1 5 1 "1 2 3 32"
expect_line "channel list text" 3 "text: 输出操作  断开第1 2 3 32路" "$tarn" line result 1 5 1 "1 2 3 32"

# Messages go to standard error; the line is still printed.
expect_stderr "channel list with a comma" "message: 提示: 参数只能是数字" \
  "$tarn" line result 1 5 1 "1,2"
expect_line "a refused channel list switches nothing" 1 "instruction: 01 05 01 00 00 00 00" \
  "$tarn" line result 1 5 1 "1,2"
expect_stderr "hex without blanks" "message: 警告：: 格式为：11 22 33 … AA BB CC … FF, 中间要有空格" \
  "$tarn" line result 11 1 1 010AFF
expect_line "refused hex writes nothing" 1 "instruction: 0B 01 01 00" "$tarn" line result 11 1 1 010AFF
expect_out "signed value" $'instruction: 04 02 01 FF FF FF FF\nlength: 9\ntext: 全局整数2 = -1\nparam3: -1' \
  "$tarn" line result 4 2 1 -- -1

# Kind defaults and suggestion picks.
expect_out "kind 19 starts at its first suggestion" \
  $'instruction: 13 02 11 01\nlength: 6\ntext: 设置类型转换时字节的数量为:根据需要\nparam3: 根据需要' \
  "$tarn" line result 19 2 17
expect_line "kind 19 pick" 1 "instruction: 13 02 11 03" "$tarn" line result --pick 3 19 2 17
expect_line "kind 19 pick text" 4 "param3: 固定2字节" "$tarn" line result --pick 3 19 2 17
expect_out "infrared array pick" \
  $'instruction: 09 02 01 01 05\nlength: 7\ntext: 红外通道1发送全局数组5代表的红外码\nparam3: 全局数组5' \
  "$tarn" line result 9 2 1 --pick 5
expect_line "font pick" 3 "text: 设置字母和数字的字体为 5×8字体" "$tarn" line result 25 1 3 --pick 2
expect_line "no pick for other lines" 1 "instruction: 01 04 03 00 00 01 F4" \
  "$tarn" line result --pick 2 1 4 3 500

# Text preparation: trimming, full-width quotes, full-width punctuation of
# formulas (kind 30 only).
expect_line "trimmed string" 1 "instruction: 0A 01 01 03 61 62 63" "$tarn" line result 10 1 1 "  abc  "
expect_line "full-width quotes" 1 "instruction: 20 01 02 04 22 61 62 22" "$tarn" line result 32 1 2 "“ab”"
expect_line "quotes kept beside an ASCII quote" 1 "instruction: 20 01 02 06 A1 B0 22 A1 B1 78" \
  "$tarn" line result 32 1 2 '“"”x'
expect_line "strings keep full-width punctuation" 1 "instruction: 0A 01 01 05 A3 A8 61 A3 A9" \
  "$tarn" line result 10 1 1 "（a）"
expect_line "formula punctuation" 4 "param3: 整数1=整数2 + 1;整数3=5" \
  "$tarn" line result 30 1 1 "整数1 = 整数2 + 1；整数3 = 5"
expect_out "kind 36" \
  $'instruction: 24 05 07 1D 1D 07 06 01 00 00 00 01 07 06 01 00 00 00 03 07 06 01 00 00 00 02 07 06 01 00 00 00 04\nlength: 35\ntext: 数据口1 操作联机 断开 地址 3 第 2, 4 路\nparam3: 1, 3, 2, 4' \
  "$tarn" line result 36 5 7 "1, 3, 2, 4"

# Aliases.
printf '灯\t=\t输出3\r\n' | iconv -f UTF-8 -t GBK > "$tmp/names.txt"
expect_line "alias in the line text" 3 "text: 输出操作  点动 灯 500ms" \
  "$tarn" line result --names "$tmp/names.txt" 1 4 3 500
expect_line "alias typed in a formula" 4 "param3: 灯 + 1" \
  "$tarn" line result --names "$tmp/names.txt" 32 1 3 "灯 + 1"

# Errors.
expect_status "success" 0 "$tarn" line result 1 4 3 500
expect_status "kind without a name" 1 "$tarn" line result 40 1 1
expect_status "parameter out of range" 2 "$tarn" line result 1 256 1
expect_status "too few arguments" 2 "$tarn" line result 1 4
expect_status "bad pick" 2 "$tarn" line result --pick 0 19 1 1
expect_status "bad hex" 2 "$tarn" line result --bytes "0G"
expect_status "bytes and a kind" 2 "$tarn" line result --bytes "01" 1 1 1
expect_status "unknown option" 2 "$tarn" line result --colour 1 1 1
expect_status "missing name table" 1 "$tarn" line result --names "$tmp/none.txt" 1 4 3 500

exit $fail
