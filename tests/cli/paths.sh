#!/usr/bin/env bash
# File names are not text: every command that reads or writes a file takes
# the name as given, whatever its bytes (UTF-8 outside GBK, bytes that are
# not UTF-8, GBK bytes, blanks), and never writes to a look-alike name.
# Usage: paths.sh PATH_TO_TARN
set -uo pipefail
tarn=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source "$(dirname "$0")/lib.bash"
cd "$tmp" || exit 1

"$tarn" example jog base.qv3 || { echo "FAIL no example program"; exit 1; }
printf '灯\t=\t输出1\r\n' | iconv -f UTF-8 -t GBK > names.txt

# The stems of the names tried: label, then the bytes of the name.
cases=(
  "emoji|😀x"
  "raw 0xFF 0xFE|"$'\xff\xfe'"raw"
  "GBK bytes of 程序|"$'\xb3\xcc\xd0\xf2'
  "GBK trail byte 0x5C|"$'\x95\x5c'"x"
  "blanks|two  words "
  "Chinese UTF-8|程序 副本"
)

for entry in "${cases[@]}"; do
  what=${entry%%|*} stem=${entry#*|}
  # A look-alike that a lossy conversion would produce must stay untouched.
  echo keep > "????x.json"

  "$tarn" export base.qv3 "$stem.json" >/dev/null 2>&1
  fail_if '[ $? -ne 0 ] || [ ! -s "$stem.json" ]' "$what: export writes that very name"
  "$tarn" build "$stem.json" "$stem.qv3" >/dev/null 2>&1
  fail_if '[ $? -ne 0 ] || ! cmp -s base.qv3 "$stem.qv3"' "$what: build reads it back byte for byte"
  out=$("$tarn" check "$stem.qv3" 2>&1)
  fail_if '[ $? -ne 0 ]' "$what: check opens it: $out"
  "$tarn" show "$stem.qv3" >/dev/null 2>&1
  fail_if '[ $? -ne 0 ]' "$what: show opens it"
  "$tarn" diff base.qv3 "$stem.json" >/dev/null 2>&1
  fail_if '[ $? -ne 0 ]' "$what: diff opens it and finds it the same"
  cp names.txt "$stem.txt"
  "$tarn" names import "$stem.qv3" "$stem.txt" >/dev/null 2>&1
  fail_if '[ $? -ne 0 ]' "$what: names import reads and writes it"
  out=$("$tarn" names list "$stem.qv3" 2>&1)
  fail_if '[ "$out" != "灯	输出1" ]' "$what: names list shows the imported alias: $out"
  out=$("$tarn" operand --names "$stem.txt" 输出1 2>&1)
  rc=$? first=$(head -n 1 <<<"$out")
  fail_if '[ $rc -ne 0 ] || [ "$first" != 灯 ]' "$what: --names reads it: $out"
  fail_if '[ "$(cat "????x.json")" != keep ]' "$what: the look-alike ????x.json was written"
  fail_if '[ -n "$(ls | grep -F ".tmp-")" ]' "$what: a temporary file was left"
done

# A name that does not exist is a failure that names the file.
"$tarn" check $'nothing\xff.qv3' >/dev/null 2>&1
fail_if '[ $? -eq 0 ]' "a missing file with raw bytes in its name is an error"

# Arguments that are text still refuse what GBK cannot hold, and write nothing.
cp base.qv3 keep.qv3
expect "operand refuses an emoji" "tarn: the character '😀' (U+1F600) has no GBK form" \
  "$tarn" operand 😀
"$tarn" names set keep.qv3 整数2 "a😀" >/dev/null 2>&1
fail_if '[ $? -ne 2 ] || ! cmp -s base.qv3 keep.qv3' "names set with an emoji alias is refused"
"$tarn" expr compile $'\xff' >/dev/null 2>&1
fail_if '[ $? -ne 2 ]' "expr compile refuses bytes that are not UTF-8"

# Two arguments held alike are refused rather than one standing for the other.
"$tarn" diff "😀x.json" "????x.json" >/dev/null 2>&1
fail_if '[ $? -ne 2 ]' "two names with the same GBK look are refused"

finish paths
