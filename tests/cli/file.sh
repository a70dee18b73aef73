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

# check and dump say what Open decides, and exit by it.
mbody="00 00 00 1B 01 02 03 04${body#00 00 00 1B 00 17 00 0A}"
echo "$("$tarn" crc16 "$mbody") $mbody" | hex2bin > "$tmp/marks.qv3"
out=$("$tarn" check "$tmp/marks.qv3" 2>&1); rc=$?
fail_if '[ $rc -ne 0 ] || [ "$out" != "程序大小：11 字节" ]' "other format marks load as Open loads them: $out"
{ echo "00 00 00 04 1E B0 00 17 00 0A" | hex2bin; head -c 269990 /dev/zero; } > "$tmp/large.qv3"
out=$("$tarn" check "$tmp/large.qv3" 2>&1); rc=$?
fail_if '[ $rc -ne 1 ] || ! grep -q "270000 超过上限 200000" <<<"$out"' "too large, not damaged: $out"
{ echo "00 00 00 1E 84 8A 00 17 00 0A" | hex2bin; head -c 2000000 /dev/zero; } > "$tmp/huge.qv3"
out=$("$tarn" dump "$tmp/huge.qv3" 2>&1); rc=$?
fail_if '[ $rc -ne 1 ] || grep -q WRONG <<<"$out" || ! grep -q "verdict: not loaded" <<<"$out"' \
  "a 2 MB image is not called damaged: $out"
for short in "00 00" "00 00 00 00"; do
  echo "$short" | hex2bin > "$tmp/s.hanshu"
  out=$("$tarn" dump "$tmp/s.hanshu" 2>&1); rc=$?
  fail_if '[ $rc -ne 1 ] || ! grep -q "verdict: not loaded" <<<"$out"' "dump of function file $short: $out"
done
# A block of 200001 bytes, check right: longer than a reader takes.
zeros=$(head -c 199995 /dev/zero | xxd -p | tr -d '\n' | fold -w 100000)
read -r hi lo <<<"$("$tarn" crc16 "00 03 0D 41 00 00" $zeros)"
fcheck=$(printf '%04X' $(( (0x$hi * 256 + 0x$lo + 1) % 65536 )))
{ echo "$fcheck 00 03 0D 41 00 00" | hex2bin; head -c 199995 /dev/zero; } > "$tmp/over.hanshu"
out=$("$tarn" dump "$tmp/over.hanshu" 2>&1); rc=$?
fail_if '[ $rc -ne 1 ] || ! grep -q "(right)" <<<"$out"' "dump of a block over the limit exits 1: $(tail -1 <<<"$out")"
out=$("$tarn" show "$tmp/over.hanshu" 2>&1); rc=$?
fail_if '[ $rc -ne 1 ] || ! grep -q "200001 超过上限" <<<"$out"' "show says why it loaded nothing: $out"

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
