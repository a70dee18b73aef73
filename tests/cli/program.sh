#!/usr/bin/env bash
# tarn build, show and export: a program written as JSON becomes a .qv3 file,
# shows as the program list shows it, and comes back through JSON byte for byte.
# Usage: program.sh PATH_TO_TARN
set -uo pipefail
tarn=$1
source "$(dirname "$0")/lib.bash"

cat > "$tmp/p.json" <<'EOF'
{"format": "orlo-program", "version": 1, "sections": [
  {"section": "main", "lines": [
    {"type": "condition", "kind": 21, "param1": 1, "param2": 2, "param3": "整数2 = 300", "remark": "超过三百"},
    {"type": "condition", "orElse": 1, "kind": 1, "param1": 2, "param2": 1},
    {"type": "result", "kind": 1, "param1": 1, "param2": 1, "param3": "1"}
  ]},
  {"section": "function", "number": 5, "lines": [
    {"type": "result", "bytes": "01 01 01 00 00 00 01"}
  ]}],
 "names": [{"alias": "温度", "system": "整数2"}]}
EOF

"$tarn" build "$tmp/p.json" "$tmp/p.qv3" || { echo "FAIL build"; exit 1; }
"$tarn" check "$tmp/p.qv3" >/dev/null || { echo "FAIL check of the built file"; fail=1; }

out=$("$tarn" show "$tmp/p.qv3")
first=$(head -1 <<<"$out")
fail_if '[[ "$first" != "1   如果  "* ]]' "first row starts the rule: $first"
fail_if '[[ "$first" != *"整数2 > 300"* ]]' "first row shows the comparison: $first"
fail_if '[[ "$first" != *"       备注:超过三百" ]]' "first row ends with the remark: $first"
fail_if '[[ "$(sed -n 2p <<<"$out")" != "     或者  "* ]]' "second row is an OR condition"
fail_if '[[ "$(sed -n 3p <<<"$out")" != "     ->  "* ]]' "third row is a result"
fail_if '! grep -qx "函数5" <<<"$out"' "function heading: $out"

"$tarn" export "$tmp/p.qv3" "$tmp/back.json" || { echo "FAIL export"; fail=1; }
fail_if '! grep -q "\"alias\": \"温度\"" "$tmp/back.json"' "names exported"
"$tarn" build "$tmp/back.json" "$tmp/back.qv3" || { echo "FAIL rebuild"; fail=1; }
cmp -s "$tmp/p.qv3" "$tmp/back.qv3" || { echo "FAIL .qv3 -> JSON -> .qv3 differs"; fail=1; }

# A single section as a function file, and back.
cat > "$tmp/f.json" <<'EOF'
{"format": "orlo-program", "sections": [{"section": "function", "number": 3, "lines": [
  {"type": "condition", "kind": 1, "param1": 4, "param2": 1}]}]}
EOF
"$tarn" build "$tmp/f.json" "$tmp/f.hanshu" || { echo "FAIL build function file"; fail=1; }
out=$("$tarn" show "$tmp/f.hanshu")
fail_if '[[ "$out" != "1   如果  "* ]]' "function file shows its row: $out"
"$tarn" export "$tmp/f.hanshu" "$tmp/f2.json" && "$tarn" build "$tmp/f2.json" "$tmp/f2.hanshu"
cmp -s "$tmp/f.hanshu" "$tmp/f2.hanshu" || { echo "FAIL .hanshu round trip differs"; fail=1; }

# Bad input: a message and exit 1, no file written.
echo '{"format": "orlo-program", "sections": [{"section": "main", "lines": [{"type": "x"}]}]}' > "$tmp/bad.json"
"$tarn" build "$tmp/bad.json" "$tmp/bad.qv3" 2>/dev/null
fail_if '[ $? -ne 1 ] || [ -e "$tmp/bad.qv3" ]' "bad JSON refused"

# The output must not be the input, however it is reached; a link as the
# output is written through, the link kept.
cp "$tmp/p.qv3" "$tmp/keep.qv3"
mkdir "$tmp/d"; ln -s ../p.qv3 "$tmp/d/link.qv3"
for out in "$tmp/p.qv3" "$tmp/d/../p.qv3" "$tmp/d/link.qv3"; do
  "$tarn" export "$tmp/p.qv3" "$out" 2>/dev/null
  fail_if '[ $? -ne 2 ] || ! cmp -s "$tmp/p.qv3" "$tmp/keep.qv3"' "export over its input $out refused"
done
ln -s back.qv3 "$tmp/link.qv3"
"$tarn" build "$tmp/back.json" "$tmp/link.qv3" || { echo "FAIL build through a link"; fail=1; }
fail_if '[ ! -L "$tmp/link.qv3" ] || ! cmp -s "$tmp/back.qv3" "$tmp/p.qv3"' "a link as output stays a link"

for cmd in show export build; do
  "$tarn" $cmd --help | grep -q "usage: tarn $cmd" || { echo "FAIL $cmd --help"; fail=1; }
done
[ $fail -eq 0 ] && echo "cli program: all passed"
exit $fail
