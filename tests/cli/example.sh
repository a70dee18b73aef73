#!/usr/bin/env bash
# tarn example: the list names every example, each one written as a program
# file exports back to its JSON in examples/, and a wrong name or output
# writes nothing.
# Usage: example.sh PATH_TO_TARN
set -uo pipefail
tarn=$1
source "$(dirname "$0")/lib.bash"
examples=$(cd "$(dirname "$0")/../../examples" && pwd)

expect "list" "send	输入发送数据程序
jog	输入控制输出点动程序
latch	输入控制输出自锁程序
packet-send	数据口发送数据(118)" "$tarn" example list

for name in send jog latch packet-send; do
  "$tarn" example "$name" "$tmp/$name.qv3"
  fail_if '[ $? -ne 0 ]' "$name written"
  "$tarn" export "$tmp/$name.qv3" "$tmp/$name.json"
  fail_if '! cmp -s "$tmp/$name.json" "$examples/$name.json"' "$name exports as examples/$name.json"
  fail_if '"$tarn" show "$tmp/$name.qv3" | grep -q 格式出错' "$name shows every line"
done

for args in "nothing $tmp/x.qv3" "send $tmp/x.json" "send"; do
  "$tarn" example $args 2>/dev/null
  fail_if '[ $? -ne 2 ] || [ -e "$tmp/x.qv3" ] || [ -e "$tmp/x.json" ]' "tarn example $args refused"
done

finish example
