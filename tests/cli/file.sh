#!/usr/bin/env bash
# tarn check and tarn dump on program and function files made byte by byte.
# Usage: file.sh PATH_TO_TARN
set -uo pipefail
tarn=$1
source "$(dirname "$0")/lib.bash"

hex2bin() { xxd -r -p; }

# One condition line (kind 1, param1 2, param2 1) in the main program.
body="00 00 00 1B 00 17 00 0A 00 00 00 00 00 00 00 00 00 0B 00 00 05 00 01 02 01"
check=$("$tarn" crc16 "$body")
echo "$check $body" | hex2bin > "$tmp/good.qv3"

out=$("$tarn" check "$tmp/good.qv3" 2>&1); rc=$?
fail_if '[ $rc -ne 0 ] || [ "$out" != "程序大小：11 字节" ]' "check of a good file: $out"

out=$("$tarn" dump "$tmp/good.qv3" 2>&1); rc=$?
fail_if '[ $rc -ne 0 ]' "dump of a good file"
fail_if '! grep -q "id 0 (主程序)" <<<"$out"' "dump names the main block: $out"
fail_if '! grep -q "length 5  condition  remark 0  01 02 01" <<<"$out"' "dump shows the line: $out"

# One byte of the body changed: the check no longer matches.
echo "$check ${body% 01} 02" | hex2bin > "$tmp/bad.qv3"
out=$("$tarn" check "$tmp/bad.qv3" 2>&1); rc=$?
fail_if '[ $rc -ne 1 ]' "check of a damaged file exits 1"
fail_if '[ -z "$out" ]' "check of a damaged file says why"
"$tarn" dump "$tmp/bad.qv3" >/dev/null 2>&1
fail_if '[ $? -ne 1 ]' "dump of a damaged file exits 1"

# Truncated file.
head -c 20 "$tmp/good.qv3" > "$tmp/short.qv3"
"$tarn" check "$tmp/short.qv3" >/dev/null 2>&1
fail_if '[ $? -ne 1 ]' "check of a truncated file exits 1"

# A function file: check = crc registers read big-endian, plus one.
block="00 00 00 0B 00 00 05 00 01 02 01"
read -r hi lo <<<"$("$tarn" crc16 "$block")"
fcheck=$(printf '%04X' $(( (0x$hi * 256 + 0x$lo + 1) % 65536 )))
echo "${fcheck:0:2} ${fcheck:2:2} $block" | hex2bin > "$tmp/f.hanshu"
out=$("$tarn" check "$tmp/f.hanshu" 2>&1); rc=$?
fail_if '[ $rc -ne 0 ] || [ "$out" != "程序大小：11 字节" ]' "check of a function file: $out"
out=$("$tarn" dump "$tmp/f.hanshu" 2>&1)
fail_if '! grep -q "(right)" <<<"$out"' "function file check shown right: $out"

cp "$tmp/good.qv3" "$tmp/good.txt"
"$tarn" check "$tmp/good.txt" >/dev/null 2>&1
fail_if '[ $? -ne 1 ]' "unknown extension refused"
"$tarn" check "$tmp/missing.qv3" >/dev/null 2>&1
fail_if '[ $? -ne 1 ]' "missing file refused"
for cmd in check dump; do
  "$tarn" $cmd --help | grep -q "usage: tarn $cmd" || { echo "FAIL $cmd --help"; fail=1; }
done

[ $fail -eq 0 ] && echo "cli file: all passed"
exit $fail
