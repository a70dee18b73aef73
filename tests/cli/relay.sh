#!/usr/bin/env bash
# tarn relay frame as a user runs it, without a device: the wizard's frames
# by index, name and short name, the parameter forms, the messages and
# refusals, the operation list, usage errors and the help texts.
# Usage: relay.sh PATH_TO_TARN
set -uo pipefail
tarn=$1
source "$(dirname "$0")/lib.bash"

expect "close channel 1 by default" "55 01 12 00 00 00 01 69" "$tarn" relay frame 1
expect "query by name" "55 01 10 00 00 00 00 66" "$tarn" relay frame 查询状态
expect "jog 1000 ms on channel 3" "55 01 21 00 03 E8 03 65" \
  "$tarn" relay frame jog --channel 3 --param 1000
expect "group close" "55 01 15 00 00 08 15 88" "$tarn" relay frame 7 --param "1 3 5 12"
expect "sequence close" "55 01 18 02 32 01 08 AB" "$tarn" relay frame 14 --param "2 8 500"
expect "sequence with the default interval" "55 01 18 02 0A 01 08 83" \
  "$tarn" relay frame sequence-close --param "2 8"
expect "broadcast address change" "55 F5 41 00 00 00 05 90" \
  "$tarn" relay frame 11 --address 7 --param 5
expect "without reply" "55 FF 30 00 00 00 20 A4" \
  "$tarn" relay frame toggle --address 255 --channel 32 --no-reply
expect "offending characters: a message each, the frame still built" \
  $'message: 提示: 参数只能是数字\nmessage: 提示: 参数只能是数字\n55 01 15 00 00 00 05 70' \
  "$tarn" relay frame group-close --param "1 a 3 b"
expect "query without reply is refused" "message: 查询状态必须要有返回码！" \
  "$tarn" relay frame 0 --no-reply
expect "empty group is refused" \
  "message: 提示: 请输入要求翻转的路数，中间使用空格间隔，比如 1 3 5 12 16  " \
  "$tarn" relay frame group-toggle
expect "a jog too long for the frame is refused" "message: 提示: 点动时间不能超过16777215毫秒" \
  "$tarn" relay frame jog --param 16777216

expect_status() {  # description, status, command...
  local what=$1 want=$2; shift 2
  "$@" >/dev/null 2>&1
  local got=$?
  [ "$got" = "$want" ] || { printf 'FAIL %s: status %s, wanted %s\n' "$what" "$got" "$want"; fail=1; }
}
expect_status "refusal" 1 "$tarn" relay frame 0 --no-reply
expect_status "unknown operation" 2 "$tarn" relay frame 15
expect_status "channel 0" 2 "$tarn" relay frame close --channel 0
expect_status "address 256" 2 "$tarn" relay frame close --address 256
expect_status "no operation" 2 "$tarn" relay frame
expect_status "unknown option" 2 "$tarn" relay frame 1 --bogus
expect_status "bad timeout" 2 "$tarn" relay send 1 --timeout 0
expect_status "terminal takes no positionals" 2 "$tarn" terminal extra

"$tarn" relay list >"$tmp/list" 2>&1
[ "$(wc -l <"$tmp/list")" = 15 ] || { echo "FAIL relay list: $(cat "$tmp/list")"; fail=1; }
grep -q "^14  sequence-close    0x18 0x3A  顺序闭合某连续几路$" "$tmp/list" ||
  { echo "FAIL relay list row 14: $(cat "$tmp/list")"; fail=1; }

for cmd in relay terminal; do
  "$tarn" "$cmd" --help | grep -q "usage: tarn $cmd" || { echo "FAIL $cmd --help"; fail=1; }
  "$tarn" "$cmd" --help | grep -q -- "--tcp HOST:PORT" || { echo "FAIL $cmd --help link options"; fail=1; }
done

finish "cli relay"
