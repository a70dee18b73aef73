#!/usr/bin/env bash
# Soak: CYCLES write and read-back cycles of a 190 KB program through tarn
# device and one tarn-sim over TCP that makes a fault every few hundred
# frames (replies dropped, garbled, corrupted with a good check, naming the
# wrong block, of the wrong kind). Two programs take turns, so a write that
# did not arrive shows. Counts successes, detected failures (non-zero exit,
# the output file untouched) and undetected corruptions: a read that
# succeeds with bytes that are neither what was written nor, after a failed
# write, what the controller held before. Those must be 0. Not part of CI.
# Usage: bench/soak.sh [CYCLES] [BUILD_DIR]   (default 1000, build/native)
# FAULT_EVERY=N: one fault every N frames on average (default 300; the five
# kinds take turns, each every 5 N frames or so). A cycle is 7,600 frames,
# so at the default nearly every cycle meets faults and fails.
set -uo pipefail
cycles=${1:-1000}
every=${FAULT_EVERY:-300}
build=$(cd "${2:-build/native}" && pwd)
tarn=$build/tarn
sim=$build/tarn-sim
tmp=$(mktemp -d)
sim_pid=
cleanup() {
  [ -n "$sim_pid" ] && kill -TERM "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
cd "$tmp" || exit 1

# 2638 result lines of 72 bytes and one of 22 with the name block: 190000 bytes.
make_program() {  # remark letter, out.qv3
  local remark
  remark=$(printf "$1%.0s" $(seq 63))
  {
    printf '{"format": "orlo-program", "version": 1, "sections": [{"section": "main", "lines": [\n'
    for _ in $(seq 2638); do
      printf '{"type": "result", "bytes": "01 01 01 00 00 00 01", "remark": "%s"},\n' "$remark"
    done
    printf '{"type": "result", "bytes": "01 01 01 00 00 00 01", "remark": "zzzzzzzzzzzzz"}]}],\n'
    printf ' "names": [{"alias": "水泵", "system": "输出3"}]}\n'
  } >"$2.json"
  "$tarn" build "$2.json" "$2" >/dev/null || { echo "cannot build $2"; exit 1; }
}
make_program a a.qv3
make_program b b.qv3

# The controller starts with program a; distinct periods keep the kinds apart.
n=$((5 * every))
"$sim" --tcp 0 --reply-delay 0 --stats --program a.qv3 --drop-every $((n + 1)) \
  --garble-every $((n + 3)) --corrupt-every $((n + 7)) --wrong-block-every $((n + 9)) \
  --misanswer-every $((n + 13)) >sim.log 2>&1 &
sim_pid=$!
for _ in $(seq 50); do grep -q '^tarn-sim: address' sim.log && break; sleep 0.1; done
port=$(sed -n 's/^tarn-sim: tcp 127\.0\.0\.1:\([0-9]*\)$/\1/p' sim.log)
device() { timeout 300 "$tarn" device --tcp "127.0.0.1:$port" --timeout 1 "$@" >/dev/null 2>>tarn.log; }

echo sentinel >sentinel
success=0 detected=0 undetected=0 touched=0 written_ok=0 read_ok=0
held=a.qv3  # what the controller holds, as far as a good read has shown
start=$(date +%s)
for i in $(seq "$cycles"); do
  if [ "$i" -gt 1 ] && [ $(((i - 1) % 50)) -eq 0 ]; then
    echo "  after $((i - 1)) cycles: $success succeeded, $detected failures detected," \
      "$undetected undetected"
  fi
  if [ $((i % 2)) -eq 1 ]; then prog=a.qv3; else prog=b.qv3; fi
  device write "$prog"
  wrote=$?
  cp sentinel back.qv3
  device read back.qv3
  read=$?
  [ $wrote -eq 0 ] && written_ok=$((written_ok + 1))
  if [ $read -ne 0 ]; then
    cmp -s back.qv3 sentinel || touched=$((touched + 1))
    detected=$((detected + 1))
    continue
  fi
  read_ok=$((read_ok + 1))
  if cmp -s back.qv3 "$prog"; then
    got=$prog
  elif cmp -s back.qv3 "$held"; then
    got=$held
  else
    got=other
  fi
  if [ "$got" = "$prog" ] && [ $wrote -eq 0 ]; then
    success=$((success + 1))
  elif [ $wrote -ne 0 ] && [ "$got" != other ]; then
    detected=$((detected + 1))  # the failed write left the old or the new program whole
  else
    undetected=$((undetected + 1))
    cp back.qv3 "undetected-$i.qv3"
  fi
  [ "$got" != other ] && held=$got
done
elapsed=$(($(date +%s) - start))
kill -TERM "$sim_pid"; wait "$sim_pid" 2>/dev/null; sim_pid=
faults=$(sed -n 's/.*; \([0-9]*\) faults injected.*/\1/p' sim.log)
echo "soak: $cycles cycles of write and read-back, 190000 bytes, a fault every $every frames"
echo "  faults injected by tarn-sim: ${faults:-?}"
echo "  writes reported done: $written_ok; reads reported done: $read_ok"
echo "  cycles that succeeded: $success"
echo "  failures detected: $detected"
echo "  undetected corruptions: $undetected"
echo "  output files touched by a failed read: $touched"
echo "  time: $elapsed s"
[ $undetected -eq 0 ] && [ $touched -eq 0 ]
