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

build_tree() {  # name, build dir, extra cmake args...
  local name=$1 dir=$2; shift 2
  echo "== $name: configure and build"
  cmake -S "$top" -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}

ctest_in() {  # build dir
  (cd "$1" && ctest --output-on-failure -j"$jobs" --timeout 600)
}

test_tree() {  # name, build dir
  echo "== $1: test"
  if ctest_in "$2"; then
    summary+=("$1: passed")
  else
    summary+=("$1: FAILED")
    status=1
  fi
}

run_tree() {  # name, build dir, extra cmake args...
  build_tree "$@"
  test_tree "$1" "$2"
}

# A step run in the background with its output kept, shown when it ends.
start_step() {  # log file, command...
  local log=$1; shift
  "$@" >"$log" 2>&1 &
  step_pid=$!
}
end_step() {  # log file, pid, name
  local rc=0
  wait "$2" || rc=$?
  cat "$1"
  if [ $rc -eq 0 ]; then summary+=("$3: passed"); else summary+=("$3: FAILED"); status=1; fi
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
  build_tree windows build/win64 -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw64.cmake"
  # The Wine suites mostly wait for windows: the 32-bit tree (Orlo.exe and
  # the 32-bit unit suite; its Wine scripts use the native tarn-sim) builds
  # while the 64-bit suite runs, and the fuzz targets run while the 32-bit
  # suite does. The two suites share one Wine prefix: one after the other.
  mkdir -p build
  echo "== windows: test (in the background)"
  start_step build/win64-test.log ctest_in build/win64
  win64_pid=$step_pid
  build_tree windows-32bit build/win32 -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw32.cmake"
  echo "== windows: test output"
  end_step build/win64-test.log "$win64_pid" windows
  # Fuzzing: a short run of every target (8 s each).
  echo "== fuzz targets (in the background)"
  start_step build/fuzz-run.log env FUZZ_SEED=1 bash scripts/fuzz.sh 8
  fuzz_pid=$step_pid
  test_tree windows-32bit build/win32
  echo "== fuzz targets: output"
  end_step build/fuzz-run.log "$fuzz_pid" "fuzz targets (reproducers in build/fuzz/findings)"
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
