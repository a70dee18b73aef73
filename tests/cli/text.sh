#!/usr/bin/env bash
# Text that tarn stores is GBK: arguments and JSON texts with a character GBK
# has not are refused (exit 2) with the character named, never kept as '?'.
# Usage: text.sh PATH_TO_TARN
set -uo pipefail
tarn=$1
source "$(dirname "$0")/lib.bash"

# refused DESCRIPTION NAMED COMMAND...: exit 2, the message names NAMED.
refused() {
  local what=$1 named=$2; shift 2
  local out rc
  out=$("$@" 2>&1); rc=$?
  if [ $rc -ne 2 ] || ! grep -qF -- "$named" <<<"$out"; then
    printf 'FAIL %s: exit %d: %s\n' "$what" $rc "$out"
    fail=1
  fi
}

refused "emoji in a formula" "'😀' (U+1F600) has no GBK form" "$tarn" expr compile '"a😀"'
refused "Korean in a line's text" "'한' (U+D55C)" "$tarn" line result 15 1 1 '한글'
refused "invalid UTF-8" "the byte 0xFF is not UTF-8" "$tarn" expr compile $'"\xff"'
refused "odd hex digits" "--bytes" "$tarn" line condition --bytes 01020

cat > "$tmp/p.json" <<'JSON'
{"format": "orlo-program", "version": 1, "sections": [
 {"section": "main", "lines": [{"type": "condition", "bytes": "01 02 01", "remark": "温度😀"}]}]}
JSON
refused "emoji in a JSON remark" "U+1F600" "$tarn" build "$tmp/p.json" "$tmp/p.qv3"
fail_if '[ -e "$tmp/p.qv3" ]' "nothing is written for a refused text"
sed -i 's/😀/\\ud55c/' "$tmp/p.json"
refused "an escaped character in JSON" "U+D55C" "$tarn" build "$tmp/p.json" "$tmp/p.qv3"

# What GBK has is kept exactly.
expect "GBK text still compiles" "07 06 20 CE C2 B6 C8" "$tarn" expr compile '"温度"'

# Control characters inside a rendered text are shown escaped, so every item
# keeps to its one line of output.
expect "NUL and newline in a string" '"a\0b\n"' "$tarn" expr render "07 06 20 61 00 62 0A"
cat > "$tmp/r.json" <<'JSON'
{"format": "orlo-program", "version": 1, "sections": [
 {"section": "main", "lines": [{"type": "condition", "bytes": "01 02 01", "remark": "x\ny\u0001"}]}]}
JSON
"$tarn" build "$tmp/r.json" "$tmp/r.qv3" || { echo "FAIL build with a control character"; fail=1; }
expect "show" '1   如果  输入2  断开       备注:x\ny\x01' "$tarn" show "$tmp/r.qv3"
out=$("$tarn" dump "$tmp/r.qv3")
fail_if '! grep -qF "\"x\\ny\\x01\"" <<<"$out"' "dump: $out"

finish "cli text"
