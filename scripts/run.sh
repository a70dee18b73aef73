#!/usr/bin/env bash
# Starts Orlo: builds Tarn.exe (and the native tools) when needed and runs it
# under Wine, against the simulated controller (tarn-sim) while no controller
# of your own is configured. Without a display it runs on a virtual one (Xvfb) and leaves a
# screenshot in build/win64/screenshots/ every few seconds, so the window can
# still be looked at. Installs missing packages first.
# Usage: scripts/run.sh [--build-only]
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)

bash scripts/deps.sh all

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$top" -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j"$jobs" --target tarn
cmake -S "$top" -B build/win64 -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw64.cmake" >/dev/null
cmake --build build/win64 -j"$jobs" --target Tarn
[ "${1:-}" = "--build-only" ] && exit 0

export WINEPREFIX=${WINEPREFIX:-$top/build/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  # Xvfb picks a free display number and writes it to fd 3.
  displayfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1400x900x24 -nolisten tcp 3>"$displayfile" </dev/null >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 30); do [ -s "$displayfile" ] && break; sleep 0.5; done
  export DISPLAY=":$(head -1 "$displayfile")"
  rm -f "$displayfile"
  echo "No display: Orlo runs on the virtual display $DISPLAY;"
  echo "screenshots go to build/win64/screenshots/run.png every 5 seconds."
fi

bash scripts/wine-prefix.sh "$WINEPREFIX"

# The settings file (qv_pV2.ini) is read from the working folder. Without
# one (no controller configured yet) the tool is pointed at a simulated
# controller on this machine; the 设置 dialog changes that.
work="$top/build/run"
mkdir -p "$work" build/win64/screenshots
cd "$work"
sim_pid=""
if [ ! -f qv_pV2.ini ] || [ -f .simulated ]; then
  cmake --build "$top/build/native" -j"$jobs" --target tarn-sim >/dev/null
  port=${ORLO_SIM_PORT:-46200}
  "$top/build/native/tarn-sim" --tcp "127.0.0.1:$port" &
  sim_pid=$!
  "$top/build/native/tarn" settings set com_or_tcp 1
  "$top/build/native/tarn" settings set ip 127.0.0.1
  "$top/build/native/tarn" settings set socket_port "$port"
  touch .simulated
  echo "No controller configured: Tarn.exe talks to tarn-sim on 127.0.0.1:$port"
  echo "(press the connection button, then 写入 / 读取)."
fi
trap 'cleanup; [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true' EXIT
wine "$top/build/win64/Tarn.exe" &
tarn_pid=$!

if [ -n "$xvfb_pid" ]; then
  while kill -0 "$tarn_pid" 2>/dev/null; do
    sleep 5
    import -display "$DISPLAY" -window root "$top/build/win64/screenshots/run.png" 2>/dev/null || true
  done
fi
wait "$tarn_pid"
