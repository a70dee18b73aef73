#!/usr/bin/env bash
# tarn device firmware against tarn-sim's loader over TCP and over its
# pseudo-terminal at 115200 baud, with a test image made here (never a real
# firmware): the image arrives intact and byte for byte; an unknown chip, a
# loader that falls silent, a wrong signature and bad options all fail.
# Every process is bounded in time and stopped at the end.
# Usage: firmware.sh PATH_TO_TARN PATH_TO_TARN_SIM
set -uo pipefail
. "$(dirname "$0")/lib.bash" "$@"
sig=TEST-LOADER-1



# The test images: 95080 bytes (1902 blocks, the last of 30) and 120 bytes.
head -c 95080 /dev/urandom >big.bin
head -c 120 /dev/urandom >small.bin

# A whole update; the simulator saves what it received.
expect_update() {  # description, image, log, tarn device arguments...
  local what=$1 image=$2 log=$3; shift 3
  rm -f got.bin
  run device "$@" firmware --loader-signature "$sig" --image "stm32g0b0=$image"
  if [ "$rc" != 0 ]; then
    bad "$what: status $rc; stderr: $(cat err.txt)"
    return
  fi
  grep -qF '固件已更新为当前适用版本！' out.txt || bad "$what: stdout $(cat out.txt)"
  for _ in $(seq 20); do [ -f got.bin ] && break; sleep 0.1; done
  cmp -s "$image" got.bin || bad "$what: the image received differs"
  grep -q 'firmware received intact' "$log" || bad "$what: $(cat "$log")"
}

start_sim main.log --tcp 127.0.0.1:0 --pty "$tmp/line" --loader-signature "$sig" \
  --firmware-out "$tmp/got.bin"
expect_update "over tcp" big.bin main.log --tcp "127.0.0.1:$port"
grep -qF 'progress: 1905/1905' err.txt || bad "progress over tcp: $(cat err.txt)"
expect_update "over the terminal at 115200" big.bin main.log --serial "$tmp/line" --baud 9600 --fast
grep -q 'line now at 115200 baud' main.log || bad "the loader did not see 115200: $(cat main.log)"
expect_update "at the configured rate" small.bin main.log --serial "$tmp/line" --baud 9600

# The sim refuses a wrong signature: no answer, and the watchdog ends it.
run device --tcp "127.0.0.1:$port" firmware --loader-signature WRONG-LOADER1 --image stm32g0b0=small.bin
[ "$rc" = 1 ] || bad "wrong signature: status $rc"
grep -qF '固件更新失败' err.txt || bad "wrong signature: $(cat err.txt)"

# No image for the chip the loader reports.
run device --tcp "127.0.0.1:$port" firmware --loader-signature "$sig" --image at32f403avgt7=small.bin
[ "$rc" = 1 ] && grep -qF '找不到资源' err.txt || bad "no image for the chip: $rc $(cat err.txt)"

start_sim odd.log --tcp 127.0.0.1:0 --loader-signature "$sig" --chip gd32f103
run device --tcp "127.0.0.1:$port" firmware --loader-signature "$sig" --image stm32g0b0=small.bin
[ "$rc" = 1 ] && grep -qF '找不到资源' err.txt || bad "unknown chip: $rc $(cat err.txt)"
grep -q 'loader: prepared' odd.log && bad "unknown chip: the host went on"

start_sim silent.log --tcp 127.0.0.1:0 --loader-signature "$sig" --loader-silent-after 5
run device --tcp "127.0.0.1:$port" firmware --loader-signature "$sig" --image stm32g0b0=big.bin
[ "$rc" = 1 ] && grep -qF '固件更新失败' err.txt || bad "silent loader: $rc $(cat err.txt)"
grep -qF '固件已更新' out.txt err.txt && bad "silent loader reported success"

# Options refused before anything is sent.
for args in "--loader-signature SHORT --image stm32g0b0=small.bin" \
            "--loader-signature $sig --image nochip=small.bin" \
            "--loader-signature $sig" \
            "--loader-signature $sig --fast --image stm32g0b0=small.bin"; do
  # shellcheck disable=SC2086
  run device --tcp "127.0.0.1:$port" firmware $args
  [ "$rc" = 2 ] || bad "options $args: status $rc"
done
run device --tcp "127.0.0.1:$port" firmware --loader-signature "$sig" --image stm32g0b0=missing.bin
[ "$rc" = 1 ] || bad "missing image file: status $rc"
grep -c 'loader started' silent.log | grep -qx 1 || bad "a refused command reached the loader"

exit $fail
