#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer), makes their seed corpora from the fixtures of
# the command-line tests (through the native tarn), and runs each target for
# SECONDS (default 60). One line per target: "NAME: N runs, 0 crashes".
# Exits non-zero on any crash, leak or timeout; the reproducer of this run is
# kept in build/fuzz/findings/NAME/ with the log (and the input files of the readers
# that take a path).
# FUZZ_SEED=N fixes libFuzzer's random seed (CI's short runs use one, so a
# run that passed passes again on the same code).
# Usage: scripts/fuzz.sh [SECONDS]
set -uo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
seconds=${1:-60}
case $seconds in ''|*[!0-9]*) echo "usage: scripts/fuzz.sh [SECONDS]" >&2; exit 2;; esac

need=()
command -v clang++ >/dev/null || need+=(clang)
[ -n "$(find /usr/lib/llvm-*/lib/clang -name 'libclang_rt.fuzzer*.a' 2>/dev/null | head -1)" ] \
  || need+=(libclang-rt-14-dev)
command -v iconv >/dev/null || need+=(libc-bin)
dpkg -s nlohmann-json3-dev >/dev/null 2>&1 || need+=(nlohmann-json3-dev)
if [ ${#need[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" || exit 1
fi

out=$top/build/fuzz
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S fuzz -B "$out" -DCMAKE_CXX_COMPILER=clang++ >/dev/null || exit 1
cmake --build "$out" -j"$jobs" >"$out/build.log" 2>&1 || { tail -30 "$out/build.log"; exit 1; }
# The native tarn turns the fixtures into program files, function files and
# byte code.
tarn=$top/build/native/tarn
if [ ! -x "$tarn" ]; then
  cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
    cmake --build build/native -j"$jobs" --target tarn >/dev/null || exit 1
fi

seeds=$out/seeds
rm -rf "$seeds"
for t in "$out"/fuzz_*; do [ -x "$t" ] && mkdir -p "$seeds/$(basename "$t")"; done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# JSON programs: the here-documents of the command-line tests.
n=0
for script in tests/cli/*.sh; do
  awk -v dir="$work" -v base="$(basename "$script" .sh)" '
    /<<.?(EOF|JSON).?$/ && /\.json/ { on = 1; n++; file = dir "/" base "-" n ".json"; next }
    on && /^(EOF|JSON)$/ { on = 0; close(file); next }
    on { print > file }' "$script"
done
for j in "$work"/*.json; do
  [ -e "$j" ] || continue
  name=$(basename "$j" .json)
  cp "$j" "$seeds/fuzz_json/$name"
  # Whatever builds becomes an image seed, a file seed and a name table seed.
  if "$tarn" build "$j" "$work/$name.qv3" >/dev/null 2>&1; then
    cp "$work/$name.qv3" "$seeds/fuzz_image/$name"
    cp "$work/$name.qv3" "$seeds/fuzz_files/$name"
    "$tarn" names export "$work/$name.qv3" "$seeds/fuzz_names/$name" >/dev/null 2>&1
    # The lines of the main block (image header 16, block header 6; each
    # line: its length, then the instruction) as instruction seeds.
    python3 - "$work/$name.qv3" "$seeds/fuzz_line_text/$name" <<'PY' 2>/dev/null
import sys
b = open(sys.argv[1], 'rb').read()
pos, k = 22, 0
while pos + 2 <= len(b) and b[pos] >= 2:
    length = b[pos]
    open('%s-%d' % (sys.argv[2], k), 'wb').write(b[pos + 1:pos + length])
    pos += length; k += 1
PY
  elif "$tarn" build "$j" "$work/$name.fnc" >/dev/null 2>&1; then
    cp "$work/$name.fnc" "$seeds/fuzz_files/$name-fnc"
  fi
done
for f in "$seeds"/fuzz_names/*; do [ -s "$f" ] || rm -f "$f"; done

# Byte code: the formulas of the expression tests, compiled in every form
# (the first byte picks the form; the two forms without a length byte get
# their length in it).
forms=(expression comparison list call-test call-assign compound statements)
grep -ho '"\$tarn" expr compile[^"]*"[^"$]*"' tests/cli/expr.sh | sed 's/.*"\([^"]*\)"$/\1/' |
  sort -u >"$work/formulas"
printf '%s\n' '整数1 + 5' '整数1 >= 10' '整数1 > 1 并且 整数2 < 2' '整数1, 整数2 + 1, "abc"' \
  '整数1 = 整数2 + 1; 整数3 = 0' '整数1 = 函数3(整数2, 5)' '数组3[2] + 1.5' >>"$work/formulas"
k=0
while IFS= read -r text; do
  for i in "${!forms[@]}"; do
    hex=$("$tarn" expr compile --form "${forms[$i]}" "$text" 2>/dev/null) || continue
    [ -n "$hex" ] || continue
    count=$(wc -w <<<"$hex")
    sel=$i; [ "$i" -ge 5 ] && sel=$(( (count << 3) | (i == 5 ? 5 : 6) ))
    [ "$sel" -gt 255 ] && continue
    { printf "\\x$(printf %02x "$sel")"; for byte in $hex; do printf "\\x$byte"; done; } \
      >"$seeds/fuzz_expression/$((k++))"
  done
done <"$work/formulas"

# Settings files: the ones the settings tests write.
k=0
grep -ho "printf '[^']*' > qv_pV2.ini" tests/cli/settings.sh | sed "s/^printf '\(.*\)' > qv_pV2.ini$/\1/" |
  while IFS= read -r format; do printf "$format" >"$seeds/fuzz_settings/$((k++))"; done
printf '[canshu_v2]\r\ncom_or_tcp=1\r\nsocket_port=5000\r\nip=10.0.0.2\r\n' >"$seeds/fuzz_settings/plain"

# Numbers: the quoted hex lists and numbers of the command-line tests.
k=0
grep -ho '"[0-9A-Fa-f., x-]\{1,40\}"' tests/cli/*.sh | tr -d '"' | sort -u |
  while IFS= read -r text; do printf '%s' "$text" >"$seeds/fuzz_numbers/$((k++))"; done

# Frames: the replies the device tests write as hex, each behind an address
# byte of 1.
k=0
grep -ho 'bytes("[0-9A-Fa-f ]\{8,\}")' tests/device/*.cpp | sed 's/bytes("\(.*\)")/\1/' | sort -u |
  while IFS= read -r hex; do
    { printf '\x01'; for byte in $hex; do printf "\\x$byte"; done; } >"$seeds/fuzz_frames/$((k++))"
  done

# The naming window and tarn names import take name tables: the name
# table seeds, and for the import one carried and one imported after a zero
# byte.
cp "$seeds"/fuzz_names/* "$seeds/fuzz_naming/" 2>/dev/null
k=0
for f in "$seeds"/fuzz_names/*; do
  [ -e "$f" ] || continue
  { printf '\0'; cat "$f"; } >"$seeds/fuzz_names_import/$k"
  { cat "$f"; printf '\0'; cat "$f"; } >"$seeds/fuzz_names_import/$k-again"
  k=$((k + 1))
done

# Firmware updates: a clean conversation for a few image sizes and both
# rates (the first byte the size, the second the chip and rate; the entry
# frame, the three ticks of the start delay, then zero bytes let the loader
# answer), one with watchdog ticks between the answers.
k=0
for first in '\x01' '\x09' '\x3f'; do
  for second in '\x00' '\x03'; do
    { printf "$first$second"'\x00\x07\x07\x07'; head -c 80 /dev/zero; } \
      >"$seeds/fuzz_firmware/$((k++))"
  done
done
{ printf '\x11\x01'; for _ in $(seq 30); do printf '\x00\x07'; done; } >"$seeds/fuzz_firmware/ticks"

status=0
for t in "$out"/fuzz_*; do
  [ -x "$t" ] || continue
  name=$(basename "$t")
  corpus=$out/corpus/$name findings=$out/findings/$name
  rm -rf "$findings"  # what the last run found: each run starts afresh
  mkdir -p "$corpus" "$findings"
  log=$findings/log.txt
  (cd "$findings" && TMPDIR=$findings ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
      ${FUZZ_SEED:+-seed="$FUZZ_SEED"} -print_final_stats=1 "$corpus" "$seeds/$name" >"$log" 2>&1)
  rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  crashes=$(find "$findings" -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
    -o -name 'oom-*' \) | wc -l)
  [ $rc -ne 0 ] && [ "$crashes" -eq 0 ] && crashes=1
  echo "$name: ${runs:-0} runs, $crashes crashes"
  if [ "$crashes" -ne 0 ]; then
    echo "  reproducer and log in $findings" >&2
    status=1
  fi
done
exit $status
