#!/usr/bin/env bash
# How long tarn device takes to write and read back a program through
# tarn-sim's pseudo-terminal at a real line's speed, next to the wire time
# (bytes each way x 10 bits / baud, from tarn-sim --stats): 190 KB at
# 115200 baud and 10 KB at 9600. Figures only; nothing here passes or fails.
# Usage: bench/sim_line.sh [BUILD_DIR]  (default build/native)
# REPLY_DELAY=MS sets tarn-sim's --reply-delay (default 0: the line alone).
set -uo pipefail
build=$(cd "${1:-build/native}" && pwd)
tarn=$build/tarn
sim=$build/tarn-sim
delay=${REPLY_DELAY:-0}
tmp=$(mktemp -d)
sim_pid=
cleanup() {
  [ -n "$sim_pid" ] && kill -TERM "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
cd "$tmp" || exit 1

# Result lines of 72 bytes and a last one with a 13-byte remark: an image of
# 22 + 72 * full + 9 + 13 + 20 (the name block) bytes.
make_program() {  # full lines, out.qv3
  local remark
  remark=$(printf 'r%.0s' $(seq 63))
  {
    printf '{"format": "orlo-program", "version": 1, "sections": [{"section": "main", "lines": [\n'
    for _ in $(seq "$1"); do
      printf '{"type": "result", "bytes": "01 01 01 00 00 00 01", "remark": "%s"},\n' "$remark"
    done
    printf '{"type": "result", "bytes": "01 01 01 00 00 00 01", "remark": "zzzzzzzzzzzzz"}]}],\n'
    printf ' "names": [{"alias": "水泵", "system": "输出3"}]}\n'
  } >"$2.json"
  "$tarn" build "$2.json" "$2" >/dev/null || { echo "cannot build $2"; exit 1; }
}

now() { date +%s.%N; }

measure() {  # image bytes, full lines, baud
  local bytes=$1 baud=$3 t0 t1 t2 stats in out frames
  make_program "$2" prog.qv3
  "$sim" --pty "$tmp/line" --baud "$baud" --reply-delay "$delay" --stats >sim.log 2>&1 &
  sim_pid=$!
  for _ in $(seq 50); do grep -q '^tarn-sim: address' sim.log && break; sleep 0.1; done
  t0=$(now)
  timeout 600 "$tarn" device --serial "$tmp/line" --baud "$baud" write prog.qv3 >/dev/null 2>err.txt ||
    { echo "write failed: $(cat err.txt)"; exit 1; }
  t1=$(now)
  timeout 600 "$tarn" device --serial "$tmp/line" --baud "$baud" read back.qv3 >/dev/null 2>err.txt ||
    { echo "read failed: $(cat err.txt)"; exit 1; }
  t2=$(now)
  cmp -s prog.qv3 back.qv3 || echo "(the program read back differs)"
  kill -TERM "$sim_pid"; wait "$sim_pid"; sim_pid=
  grep -q "program written: $bytes bytes" sim.log || echo "(expected a $bytes-byte image)"
  stats=$(sed -n 's/^tarn-sim: stats: //p' sim.log)
  frames=$(echo "$stats" | sed -n 's/^\([0-9]*\) frames received.*/\1/p')
  in=$(echo "$stats" | sed -n 's/.*; \([0-9]*\) bytes in.*/\1/p')
  out=$(echo "$stats" | sed -n 's/.* \([0-9]*\) bytes out.*/\1/p')
  awk -v b="$bytes" -v baud="$baud" -v w="$(echo "$t1 - $t0" | bc)" -v r="$(echo "$t2 - $t1" | bc)" \
      -v in_="$in" -v out="$out" -v f="$frames" -v d="$delay" 'BEGIN {
    wire = (in_ + out) * 10 / baud; total = w + r; delays = f * d / 1000
    printf "%7d bytes at %6d baud: write %7.2f s, read %7.2f s, together %7.2f s\n", b, baud, w, r, total
    printf "%27s wire %7.2f s (%d bytes to, %d from the controller), reply delays %.2f s (%d frames)\n", "", wire, in_, out, delays, f
    printf "%27s tool time / (wire + delays) = %.3f\n", "", total / (wire + delays)
  }'
}

measure 190000 2638 115200
measure 10000 138 9600
