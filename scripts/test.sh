#!/usr/bin/env bash
# Builds everything and runs every test: the native suite, the same suite
# under AddressSanitizer and UndefinedBehaviorSanitizer, the threaded tests
# under ThreadSanitizer, the Windows build with its suite under Wine and the
# start-up check of Tarn.exe, then the 32-bit tree (Orlo.exe and its unit
# suite, its start-up and serial checks; screenshots of both in
# build/win64/screenshots). Installs missing packages first.
# Usage: scripts/test.sh [--quick]   (--quick: native suite only)
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
quick=0
[ "${1:-}" = "--quick" ] && quick=1

if [ $quick -eq 1 ]; then bash scripts/deps.sh native; else bash scripts/deps.sh all; fi

jobs=$(nproc 2>/dev/null || echo 2)
status=0
summary=()

run_tree() {  # name, build dir, extra cmake args...
  local name=$1 dir=$2; shift 2
  echo "== $name: configure and build"
  cmake -S "$top" -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  echo "== $name: test"
  if (cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout 600); then
    summary+=("$name: passed")
  else
    summary+=("$name: FAILED")
    status=1
  fi
}

run_tree native build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ $quick -eq 0 ]; then
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    run_tree sanitizers build/sanitize -DCMAKE_BUILD_TYPE=Debug -DORLO_SANITIZE=ON
  # ThreadSanitizer over the tests whose threads are real: transports, link,
  # device session, firmware update, the simulated controller's server.
  echo "== thread sanitizer: build and test"
  if cmake -S "$top" -B build/tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORLO_TSAN=ON >/dev/null &&
    cmake --build build/tsan -j"$jobs" --target orlo_tsan_tests &&
    (cd build/tsan && TSAN_OPTIONS=halt_on_error=1 ./orlo_tsan_tests --gtest_brief=1); then
    summary+=("thread sanitizer: passed")
  else
    summary+=("thread sanitizer: FAILED")
    status=1
  fi
  run_tree windows build/win64 -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw64.cmake"
  # Orlo.exe and the 32-bit unit suite only; its Wine scripts use the native
  # tarn-sim.
  run_tree windows-32bit build/win32 -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw32.cmake"
  # Fuzzing: a short run of every target (10 s each, about 3 minutes in all).
  if bash scripts/fuzz.sh 10; then
    summary+=("fuzz targets: passed")
  else
    summary+=("fuzz targets: FAILED (reproducers in build/fuzz/findings)")
    status=1
  fi
  if bash scripts/check-portability.sh; then
    summary+=("portability rule: passed")
  else
    summary+=("portability rule: FAILED")
    status=1
  fi
fi

echo
echo "== Summary"
printf '%s\n' "${summary[@]}"
exit $status
