# Shared by the tarn-against-tarn-sim scripts (sourced, not run): the two
# programs from the arguments, a scratch folder that is the working folder,
# clean-up of every simulator started, and the small checks they share.
# Source it with the script's arguments: . lib.bash "$@"

tarn=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
sim=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
fail=0
tmp=$(mktemp -d)
pids=()
e2e_cleanup() {
  for p in "${pids[@]}"; do kill -TERM "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  rm -rf "$tmp"
}
trap e2e_cleanup EXIT
cd "$tmp" || exit 1

bad() { printf 'FAIL %s\n' "$*"; fail=1; }

# tarn with its arguments, bounded; output in out.txt and err.txt, status in rc.
run() {
  timeout 30 "$tarn" "$@" >out.txt 2>err.txt
  rc=$?
}

# Waits up to 10 s for a line matching the pattern in the log.
wait_log() {  # log, pattern
  for _ in $(seq 100); do grep -q "$2" "$1" && return 0; sleep 0.1; done
  return 1
}

# Starts tarn-sim with its log in the named file and waits until it is up;
# sets sim_pid, and port when it listens on TCP. The controller's own reply
# delay is 0 unless the arguments set one: these scripts test what the tool
# does, the hardware timing has a script of its own.
start_sim() {  # log name, arguments...
  local log=$1; shift
  : >"$log"
  "$sim" --reply-delay 0 "$@" >"$log" 2>&1 &
  sim_pid=$!
  pids+=($sim_pid)
  wait_log "$log" '^tarn-sim: address' || { bad "tarn-sim did not start: $(cat "$log")"; exit 1; }
  port=$(sed -n 's/^tarn-sim: tcp 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$log")
}
