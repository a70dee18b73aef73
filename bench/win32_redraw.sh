#!/usr/bin/env bash
# The redraw figure of the real main list on Windows: TarnRedrawBench.exe
# (platform/win32/bench) under Wine and Xvfb, in a Wine prefix of its own,
# next to the native figures of the same 10,000 lines on the fake view
# (orlo_bench). Figures only; nothing here passes or fails.
# Usage: bench/win32_redraw.sh [WIN64_BUILD_DIR] [NATIVE_BUILD_DIR]
#        (default build/win64 and build/native; both built)
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
win=$(cd "${1:-$top/build/win64}" && pwd)
native=$(cd "${2:-$top/build/native}" && pwd)
prefix=$win/bench-prefix
timeout 300 bash "$top/scripts/wine-prefix.sh" "$prefix" >/dev/null 2>&1 ||
  { echo "cannot make the Wine prefix $prefix"; exit 1; }
WINEPREFIX=$prefix WINEDEBUG=-all timeout 300 xvfb-run -a wine "$win/TarnRedrawBench.exe" </dev/null |
  tr -d '\r'
WINEPREFIX=$prefix timeout 30 wineserver -k 2>/dev/null
if [ -x "$native/orlo_bench" ]; then
  "$native/orlo_bench" --benchmark_filter='MainList' 2>/dev/null | grep -E '^(Benchmark|BM_)'
fi
