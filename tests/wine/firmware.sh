#!/usr/bin/env bash
# The firmware update under Wine and Xvfb: TarnFirmwareTest.exe (Tarn.exe
# built with test images made at build time and a test loader signature)
# updates tarn-sim over a Wine COM port linked to its pseudo-terminal, with
# "更新固件_115200" as a user chooses it, and shows the completion message;
# tarn-sim must have received the image intact at 115200 baud, byte for
# byte. Tarn.exe itself must carry no firmware image. Screenshot:
# firmware_updated.png. Bounded in time.
# Usage: firmware.sh <Tarn.exe> <screenshot folder> [tarn.exe] <tarn-sim>
set -uo pipefail

if [ $# -lt 4 ]; then
  echo "usage: $0 <Tarn.exe> <screenshot folder> [tarn.exe] <tarn-sim>" >&2
  exit 2
fi
release=$(readlink -f "$1")
bindir=$(dirname "$release")
exe="$bindir/TarnFirmwareTest.exe"
image="$bindir/firmware-test/stm32.bin"
shots=$2
sim=$4
[ -x "$sim" ] || { echo "firmware: tarn-sim is not built at $sim (build the native tree first)" >&2; exit 1; }
[ -f "$exe" ] && [ -f "$image" ] || { echo "firmware: $exe or its test image is not built" >&2; exit 1; }
sim=$(readlink -f "$sim")
mkdir -p "$shots"
shots=$(readlink -f "$shots")

# Resource types are stored by name in UTF-16: "BINARY" only in the test build.
has_images() {
  local rsrc
  rsrc=$(mktemp)
  x86_64-w64-mingw32-objcopy -O binary -j .rsrc "$1" "$rsrc"
  LC_ALL=C grep -aqP 'B\x00I\x00N\x00A\x00R\x00Y\x00' "$rsrc"
  local found=$?
  rm -f "$rsrc"
  return $found
}
if command -v x86_64-w64-mingw32-objcopy >/dev/null; then
  has_images "$release" && { echo "firmware: $release carries a firmware image" >&2; exit 1; }
  has_images "$exe" || { echo "firmware: $exe carries no firmware image" >&2; exit 1; }
fi

. "$(dirname "$0")/wine_session.bash"
wine_session_start "$bindir"

title_pattern='^Orlo V[0-9.]*\(固件'

"$sim" --pty "$wine_work/sim-pty" --loader-signature TEST-LOADER-1 \
  --firmware-out "$wine_work/received.bin" >"$wine_work/sim.log" 2>&1 &
sim_pid=$!
poll 10 test -L "$wine_work/sim-pty" || fail "tarn-sim made no pseudo-terminal"
com=8
com_link="$WINEPREFIX/dosdevices/com$com"
ln -sfn "$wine_work/sim-pty" "$com_link"
printf '[canshu_v2]\r\ncom_or_tcp=0\r\ncom_num=%d\r\nbtl_num=5\r\n' $((com - 1)) \
  >"$wine_work/qv_pV2.ini"

confirm() {  # title pattern, seconds, what
  wait_window "$1" "$2" "$3"
  keys Return
  wait_gone "$1" 10 "$3"
}

(cd "$wine_work" && exec wine "$exe") </dev/null >"$wine_work/tarn.log" 2>&1 &
wine_child_pid=$!
poll 60 find_main || fail "no main window"
sleep 2
click 600 300
click 515 12  # open the serial port
sleep 2

# "通信" > "更新" > "更新固件_115200".
timeout 5 xdotool mousemove --window "$win" 157 33 click 1
keys Down Down Down Down Down Down Down Down Down Right Down Return
confirm '^警告$' 20 "the question"
wait_window '^提示$' 180 "the completion message"
shot "$found" firmware_updated.png
keys Return
wait_gone '^提示$' 10 "the completion message"

received() { [ -f "$wine_work/received.bin" ]; }
poll 10 received || fail "tarn-sim saved no image"
cmp -s "$image" "$wine_work/received.bin" || fail "the image received differs from the one built in"
grep -q 'firmware received intact' "$wine_work/sim.log" || fail "tarn-sim found the image damaged"
grep -q 'line now at 115200 baud' "$wine_work/sim.log" || fail "the line never ran at 115200"
echo "firmware: $(grep 'firmware received' "$wine_work/sim.log")"

close_tarn firmware
echo "firmware: passed"
