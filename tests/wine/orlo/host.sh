#!/usr/bin/env bash
# The 32-bit tree under Wine: the whole Windows unit suite (orlo_tests.exe,
# beside Orlo.exe, whose templates it loads) on a private Xvfb display, with
# pseudo-terminals linked as COM ports for the serial tests: COM8 echoes
# every byte (both serial line classes), COM9's far end goes away after four
# bytes, COM10's takes nothing. The tests of real windows and of serial
# ports must not skip.
# Usage: host.sh <Orlo.exe> [screenshot folder] [tarn.exe] [tarn-sim]
set -uo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 <Orlo.exe> [screenshot folder] [tarn.exe] [tarn-sim]" >&2
  exit 2
fi
exe=$(readlink -f "$1")
bindir=$(dirname "$exe")
tests="$bindir/orlo_tests.exe"
[ -f "$tests" ] || { echo "host: $tests is not built" >&2; exit 1; }

. "$(dirname "$0")/../wine_session.bash"
wine_session_start "$bindir"
command -v socat >/dev/null || fail "socat is not installed (scripts/deps.sh native)"

# The far ends. Their output goes to logs, never to ctest's pipes.
link_com() {  # COM number, pseudo-terminal link
  poll 10 test -L "$2" || fail "no pseudo-terminal at $2"
  ln -sfn "$2" "$WINEPREFIX/dosdevices/com$1"
  far_links+=("$WINEPREFIX/dosdevices/com$1")
}
socat PTY,link="$wine_work/echo-pty",raw,echo=0 EXEC:cat </dev/null >"$wine_work/echo.log" 2>&1 &
far_pids+=($!)
socat PTY,link="$wine_work/hangup-pty",raw,echo=0 SYSTEM:'head -c 4 >/dev/null' \
  </dev/null >"$wine_work/hangup.log" 2>&1 &
far_pids+=($!)
# Holds the master of a raw pseudo-terminal and never reads it.
python3 -c '
import os, pty, sys, time, tty
master, slave = pty.openpty()
tty.setraw(slave)
os.symlink(os.ttyname(slave), sys.argv[1])
time.sleep(240)
' "$wine_work/stuck-pty" </dev/null >"$wine_work/stuck.log" 2>&1 &
far_pids+=($!)
link_com 8 "$wine_work/echo-pty"
link_com 9 "$wine_work/hangup-pty"
link_com 10 "$wine_work/stuck-pty"

export ORLO_REQUIRE_WINDOWS=1
export ORLO_TEST_SERIAL_ECHO=COM8 ORLO_TEST_EVENT_SERIAL_ECHO=COM8
export ORLO_TEST_EVENT_SERIAL_HANGUP=COM9 ORLO_TEST_EVENT_SERIAL_STUCK=COM10
export ORLO_TARN_EXE
ORLO_TARN_EXE=$(winepath -w "$exe" 2>/dev/null) || fail "winepath failed"
(cd "$wine_work" && exec timeout 280 wine "$tests" --gtest_brief=1) \
  </dev/null >"$wine_work/tests.log" 2>&1 &
wine_child_pid=$!
wait "$wine_child_pid"
status=$?
wine_child_pid=""
grep -E '^\[  (PASSED|FAILED|SKIPPED) ' "$wine_work/tests.log"
[ $status -eq 0 ] || fail "the 32-bit suite failed (status $status)"
grep -q '^\[  PASSED  \] [1-9]' "$wine_work/tests.log" || fail "no test ran"
! grep -qE '^\[  SKIPPED \] (Win32|SerialEcho)' "$wine_work/tests.log" ||
  fail "tests of windows or serial ports skipped"
echo "host: passed"
