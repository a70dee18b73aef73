#!/usr/bin/env bash
# The foundation's tarn commands, as a user runs them: version, operand,
# names check, crc16, help on every command.
# Usage: basic.sh PATH_TO_TARN
set -uo pipefail
tarn=$1
source "$(dirname "$0")/lib.bash"


expect "crc16 check value" "37 4B" "$tarn" crc16 "31 32 33 34 35 36 37 38 39"
expect "global integer above 255" $'全局整数300\nkind=3 index=300 value=0' "$tarn" operand 全局整数300
expect "hex literal" $'0X05\nkind=8 index=0 value=5' "$tarn" operand 0x5
expect "array element" $'数组3_4_1\nkind=64 index=0 value=0 scope=0 arrayNo=3 element=4 width=1' \
  "$tarn" operand 数组3_4_1
expect "integer word alias" $'整数7\nkind=2 index=7 value=0' "$tarn" operand 变量7
expect "string bytes" $'"a\\nb"\nkind=32 index=0 value=0 bytes=61 0A 62' "$tarn" operand '"a\nb"'

printf 'x\t=\t整数1\r\ny\t=\t整数2\r\n' | iconv -f UTF-8 -t GBK > "$tmp/names.txt"
expect "alias through --names" $'x\nkind=2 index=1 value=0' "$tarn" operand --names "$tmp/names.txt" x
expect "names check accepts" $'\nx\t=\t整数1\r\ny\t=\t整数2\r' "$tarn" names check "$tmp/names.txt"
printf 'x\t=\t整数1\r\n\t=\t整数1' | iconv -f UTF-8 -t GBK > "$tmp/last.txt"
expect "names check last line" $'最后一行已复位' "$tarn" names check "$tmp/last.txt"
expect "raw GBK output" "$(printf '整数7' | iconv -f UTF-8 -t GBK)" \
  bash -c "'$tarn' --gbk operand 整数7 | head -1"

for cmd in version operand names crc16; do
  if ! "$tarn" "$cmd" --help | grep -q "usage: tarn $cmd"; then
    echo "FAIL $cmd --help"; fail=1
  fi
done
"$tarn" --help | grep -q "Commands:" || { echo "FAIL tarn --help"; fail=1; }
"$tarn" no-such-command >/dev/null 2>&1; [ $? -eq 2 ] || { echo "FAIL unknown command exit"; fail=1; }
"$tarn" crc16 "zz" >/dev/null 2>&1; [ $? -eq 2 ] || { echo "FAIL bad hex exit"; fail=1; }

[ $fail -eq 0 ] && echo "cli basic: all passed"
exit $fail
