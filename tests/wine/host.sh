#!/usr/bin/env bash
# The Win32 dialog host, the main window and its editing windows with real
# controls: runs the Win32Host, Win32MainWindow and Win32EditingWindows tests
# of the Windows test program (orlo_tests.exe, beside Tarn.exe, whose
# templates it loads) under Wine on a private Xvfb display, where they must
# not skip.
# Usage: host.sh <Tarn.exe> <screenshot folder> [tarn.exe]
set -uo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 <Tarn.exe> [screenshot folder] [tarn.exe]" >&2
  exit 2
fi
exe=$(readlink -f "$1")
bindir=$(dirname "$exe")
tests="$bindir/orlo_tests.exe"
[ -f "$tests" ] || { echo "host: $tests is not built" >&2; exit 1; }

. "$(dirname "$0")/wine_session.bash"
wine_session_start "$bindir"

export ORLO_REQUIRE_WINDOWS=1
export ORLO_TARN_EXE
ORLO_TARN_EXE=$(winepath -w "$exe" 2>/dev/null) || fail "winepath failed"
(cd "$wine_work" && exec timeout 240 wine "$tests" --gtest_filter='Win32Host.*:Win32MainWindow.*:Win32EditingWindows.*') \
  </dev/null >"$wine_work/tests.log" 2>&1 &
wine_child_pid=$!
wait "$wine_child_pid"
status=$?
wine_child_pid=""
grep -E '^\[  (PASSED|FAILED|SKIPPED) ' "$wine_work/tests.log"
[ $status -eq 0 ] || fail "the Win32 tests failed (status $status)"
grep -q '^\[  PASSED  \] [1-9]' "$wine_work/tests.log" || fail "no Win32 test ran"
! grep -q '^\[  SKIPPED \]' "$wine_work/tests.log" || fail "Win32 tests skipped"
echo "host: passed"
