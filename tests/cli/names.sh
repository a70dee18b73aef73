#!/usr/bin/env bash
# tarn names: the aliases of a program file listed, set, exported and imported
# into another program; refused names leave the file as it was, accepted ones
# change nothing but the name block.
# Usage: names.sh PATH_TO_TARN
set -uo pipefail
tarn=$1
source "$(dirname "$0")/lib.bash"

program() {  # program FILE NAMES_JSON: a program of two lines with the given names
  cat > "$tmp/p.json" <<EOF
{"format": "orlo-program", "version": 1, "sections": [
  {"section": "main", "lines": [
    {"type": "condition", "kind": 24, "param1": 1, "param2": 1, "param3": "全局整数3 > 300"},
    {"type": "result", "kind": 1, "param1": 1, "param2": 1, "param3": "1"}]},
  {"section": "thread", "number": 2, "lines": [{"type": "result", "bytes": "01 01 01 00 00 00 01"}]}],
 "names": $2}
EOF
  "$tarn" build "$tmp/p.json" "$1" || { echo "FAIL build $1"; exit 1; }
}
program "$tmp/a.qv3" '[{"alias": "温度", "system": "整数2"}]'
program "$tmp/b.qv3" '[]'

expect "list" "温度	整数2" "$tarn" names list "$tmp/a.qv3"
expect "set" "" "$tarn" names set "$tmp/a.qv3" 全局变量3 总数
expect "list after set" "温度	整数2
总数	全局整数3" "$tarn" names list "$tmp/a.qv3"
"$tarn" check "$tmp/a.qv3" >/dev/null || { echo "FAIL the changed file is not intact"; fail=1; }
fail_if '! "$tarn" show "$tmp/a.qv3" | grep -q "总数>300"' "the line shows the alias"

# Refused names: the message, exit 1, the file untouched.
cp "$tmp/a.qv3" "$tmp/a.before"
refused() {  # refused DESCRIPTION MESSAGE COMMAND...
  local what=$1 want=$2; shift 2
  out=$("$@" 2>&1); rc=$?
  fail_if '[ $rc -ne 1 ] || [[ "$out" != *"$want"* ]]' "$what: $rc $out"
  cmp -s "$tmp/a.qv3" "$tmp/a.before" || { echo "FAIL $what changed the file"; fail=1; }
}
refused "system word" "与系统名称重复：全局整数4 = 全局整数7" "$tarn" names set "$tmp/a.qv3" 全局整数4 全局整数7
refused "bad alias" "新名称不合法（应该由字符数字下划线组成）" "$tarn" names set "$tmp/a.qv3" 整数1 a-b
refused "alias in use" "重复: 整数2" "$tarn" names set "$tmp/a.qv3" 整数1 温度
gbk() { iconv -f UTF-8 -t GBK; }  # name table texts are GBK
printf 'x\t=\t整数1\r\n全局整数7\t=\t全局整数3\r\n' | gbk > "$tmp/bad.txt"
refused "import of a system word" "与系统名称重复：全局整数3 = 全局整数7" \
  "$tarn" names import "$tmp/a.qv3" "$tmp/bad.txt"
refused "import of a missing file" "nothing.txt" "$tarn" names import "$tmp/a.qv3" "$tmp/nothing.txt"
refused "export over the program" "would replace" "$tarn" names export "$tmp/a.qv3" "$tmp/a.qv3"

# Round trip: export, import into another program, list the same; the rest of
# that program's bytes unchanged (it had no name block, so the new one follows them).
"$tarn" names export "$tmp/a.qv3" "$tmp/a.txt" || { echo "FAIL export"; fail=1; }
printf '温度\t=\t整数2\r\n总数\t=\t全局整数3\r\n' | gbk > "$tmp/want.txt"
cmp -s "$tmp/a.txt" "$tmp/want.txt" || { echo "FAIL export writes the name table text"; fail=1; }
cp "$tmp/b.qv3" "$tmp/b.before"
"$tarn" names import "$tmp/b.qv3" "$tmp/a.txt" || { echo "FAIL import"; fail=1; }
fail_if '[ "$("$tarn" names list "$tmp/b.qv3")" != "$("$tarn" names list "$tmp/a.qv3")" ]' "lists differ"
old=$(stat -c %s "$tmp/b.before")
cmp -s <(tail -c +7 "$tmp/b.before") <(tail -c +7 "$tmp/b.qv3" | head -c $((old - 6))) ||
  { echo "FAIL import changed more than the name block"; fail=1; }
"$tarn" check "$tmp/b.qv3" >/dev/null || { echo "FAIL the imported file is not intact"; fail=1; }

# Import replaces, --append adds; an empty alias removes one.
printf 'n\t=\t输出4' | gbk > "$tmp/one.txt"
"$tarn" names import "$tmp/b.qv3" "$tmp/one.txt" --append
expect "append" "温度	整数2
总数	全局整数3
n	输出4" "$tarn" names list "$tmp/b.qv3"
"$tarn" names import "$tmp/b.qv3" "$tmp/one.txt"
expect "replace" "n	输出4" "$tarn" names list "$tmp/b.qv3"
expect "remove" "已复位" "$tarn" names set "$tmp/b.qv3" 输出4 ""
expect "list of none" "" "$tarn" names list "$tmp/b.qv3"
cmp -s "$tmp/b.qv3" "$tmp/b.before" || { echo "FAIL without names the file is not as it was"; fail=1; }

# The name table check of a text file, and the help of each form.
expect_out "check" $'与系统名称重复：全局整数3 = 全局整数7\nx\t=\t整数1\r' "$tarn" names check "$tmp/bad.txt"
for sub in check list set export import; do
  "$tarn" names $sub --help | grep -q "tarn names $sub" || { echo "FAIL names $sub --help"; fail=1; }
done
"$tarn" names list 2>/dev/null
fail_if '[ $? -ne 2 ]' "a missing argument is a usage error"
finish "cli names"
