#!/usr/bin/env bash
# File names through the device commands and tarn-sim: taken as given,
# whatever their bytes (see tests/cli/paths.sh for the file commands).
# Usage: paths.sh PATH_TO_TARN PATH_TO_TARN_SIM
set -uo pipefail
. "$(dirname "$0")/lib.bash" "$@"

"$tarn" example jog base.qv3 >/dev/null || { echo "FAIL no example program"; exit 1; }
for stem in "😀x" $'\xff\xferaw' $'\xb3\xcc\xd0\xf2' "two  words "; do
  cp base.qv3 "$stem.qv3"
  start_sim sim.log --tcp 0 --program "$stem.qv3"
  run device --tcp "127.0.0.1:$port" --timeout 2 read "$stem read.qv3"
  [ $rc -eq 0 ] && cmp -s base.qv3 "$stem read.qv3" || bad "$(printf %q "$stem"): read into it ($rc): $(cat err.txt)"
  run device --tcp "127.0.0.1:$port" --timeout 2 verify "$stem.qv3"
  [ $rc -eq 0 ] || bad "$(printf %q "$stem"): verify against it ($rc): $(cat err.txt)"
  run device --tcp "127.0.0.1:$port" --timeout 2 write "$stem read.qv3"
  [ $rc -eq 0 ] || bad "$(printf %q "$stem"): write from it ($rc): $(cat err.txt)"
  kill -TERM "$sim_pid"; wait "$sim_pid" 2>/dev/null
done
[ -e "????x read.qv3" ] && bad "a look-alike file was written"
[ $fail -eq 0 ] && echo "paths: all passed"
exit $fail
