#!/usr/bin/env bash
# The release version in the file VERSION reaches tarn --version, tarn version
# and tarn-sim --version, with the commit the build was configured at; the
# window title tarn reports keeps the first two parts of that version.
# Usage: version.sh PATH_TO_TARN PATH_TO_TARN_SIM
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
release=$(head -1 "$top/VERSION")
window=${release%.*}
fail=0
commit='[0-9a-f]{12}(-dirty)?|unknown'

check() {  # description, expected first line (extended regex), command...
  local what=$1 want=$2 out
  shift 2
  out=$(timeout 10 "$@" 2>&1)
  if [ $? -ne 0 ] || ! head -1 <<<"$out" | grep -Eqx "$want"; then
    printf 'FAIL %s: got "%s"\n' "$what" "$(head -1 <<<"$out")"
    fail=1
  fi
}

v=${release//./\\.}
check "tarn --version" "tarn $v \\(commit ($commit)\\)" "$1" --version
check "tarn version" "tarn $v \\(commit ($commit)\\)" "$1" version
check "tarn-sim --version" "tarn-sim $v \\(commit ($commit)\\)" "$2" --version
title=$(timeout 10 "$1" version | sed -n 2p)
[ "$title" = "Orlo V$window(固件0.129)" ] || { echo "FAIL window title: $title"; fail=1; }
exit $fail
