#!/usr/bin/env bash
# The fault matrix: every device operation of tarn against tarn-sim making
# one fault at a time, over TCP and the pseudo-terminal. Each cell must end
# either in a reported failure (non-zero exit, a message, the output file as
# it was, nothing half-written) or, where the fault does no harm, in the very
# result of a clean run; nothing may run past its bound. Prints the matrix.
# Usage: fault_matrix.sh PATH_TO_TARN PATH_TO_TARN_SIM
set -uo pipefail
. "$(dirname "$0")/lib.bash" "$@"

wait_s=0.5   # tarn's --timeout where a fault is made (a failure waits this long)
clean_s=3    # and where none is, or a harmless one: a busy machine must not fail these
bound_s=10   # no cell may take longer than this, whatever happens

"$tarn" example jog prog.qv3 >/dev/null || { echo "FAIL no example program"; exit 1; }
cp prog.qv3 prog.orig
size=$(stat -c %s prog.qv3)

ops=(write read verify clock-set clock info address learn)
faults=(none silent drop garble corrupt wrong-block other-kind close trickle)

transfer() { case $1 in write | read | verify) return 0 ;; esac; return 1; }

# The simulator's options for a fault and an operation; "-" where the fault
# has no meaning for it (a one-reply operation has no Nth block, no block
# number; a corrupted value with a good check cannot be told from a real one
# unless an image check covers it). Transfers meet the fault at their second
# reply, the others at their only one.
fault_args() {  # fault op
  local n=1
  transfer "$2" && n=2
  case $1 in
    none) echo "" ;;
    silent) echo "--drop-every 1" ;;
    drop) transfer "$2" && echo "--drop-every $n" || echo - ;;
    garble) echo "--garble-every $n" ;;
    corrupt) transfer "$2" && echo "--corrupt-every $n" || echo - ;;
    wrong-block) transfer "$2" && echo "--wrong-block-every $n" || echo - ;;
    # The stand-in reply is a setting acknowledgement, the very kind a clock
    # set awaits; address replies are sum frames, which it leaves alone.
    other-kind) [ "$2" = clock-set ] || [ "$2" = address ] && echo - || echo "--misanswer-every $n" ;;
    close) echo "--close-after $((n - 1))" ;;
    trickle) echo "--pace 1" ;;
  esac
}

op_args() {  # op
  case $1 in
    write) echo "write prog.qv3" ;;
    read) echo "read out.qv3" ;;
    verify) echo "verify prog.qv3" ;;
    learn) echo "learn radio" ;;
    *) echo "$1" ;;
  esac
}

# What a clean run printed, per operation; clock times vary, so digits are
# left out of the comparison.
declare -A expected
normal() { tr -d '0-9' <out.txt; }

# Runs one cell; sets outcome. Outcomes: ok (the clean result),
# failed (a reported failure, nothing lost), or, in upper case, what went
# wrong.
cell() {  # transport op fault
  local transport=$1 op=$2 fault=$3 extra
  extra=$(fault_args "$fault" "$op")
  [ "$extra" = - ] && { outcome=-; return; }
  rm -f out.qv3 ./*.tmp-* sim.log
  echo "old contents" >out.qv3
  local link
  # shellcheck disable=SC2086
  if [ "$transport" = tcp ]; then
    start_sim sim.log --tcp 0 --program prog.qv3 $extra
    link="--tcp 127.0.0.1:$port"
  else
    start_sim sim.log --pty "$PWD/tty" --program prog.qv3 $extra
    link="--serial $PWD/tty"
  fi
  # shellcheck disable=SC2046,SC2086
  local wait=$wait_s
  case $fault in none | trickle) wait=$clean_s ;; esac
  timeout -k 1 "$bound_s" "$tarn" device $link --timeout "$wait" $(op_args "$op") \
    >out.txt 2>err.txt
  local rc=$?
  kill -TERM "$sim_pid" 2>/dev/null
  wait "$sim_pid" 2>/dev/null
  if [ $rc -ge 124 ]; then outcome=HUNG; return; fi
  if ! cmp -s prog.qv3 prog.orig; then outcome="INPUT CHANGED"; return; fi
  if ls ./*.tmp-* >/dev/null 2>&1; then outcome="TEMP LEFT"; return; fi
  if [ $rc -ne 0 ]; then
    if [ "$op" = read ] && [ "$(cat out.qv3)" != "old contents" ]; then outcome="OUTPUT CHANGED"; return; fi
    if [ "$op" = verify ] && [ $rc -ne 2 ]; then outcome="VERDICT $rc"; return; fi
    if [ ! -s err.txt ]; then outcome=SILENT; return; fi
    outcome=failed
    return
  fi
  case $op in
    write) grep -q "program written: $size bytes" sim.log || { outcome="NOT WRITTEN"; return; } ;;
    read) cmp -s out.qv3 prog.qv3 || { outcome="WRONG IMAGE"; return; } ;;
  esac
  if [ -z "${expected[$op]+set}" ]; then
    expected[$op]=$(normal)
  elif [ "$(normal)" != "${expected[$op]}" ]; then
    outcome="WRONG RESULT"
    return
  fi
  outcome=ok
}

table() {  # transport
  printf '%-10s' "$1"
  printf ' %-11s' "${faults[@]}"
  printf '\n'
  local op fault
  for op in "${ops[@]}"; do
    printf '%-10s' "$op"
    for fault in "${faults[@]}"; do
      cell "$1" "$op" "$fault"
      printf ' %-11s' "$outcome"
      case $outcome in
        ok | failed | -) ;;
        *) bad "$1 $op $fault: $outcome: $(head -c 300 err.txt)" ;;
      esac
      [ "$fault" = none ] && [ "$outcome" != ok ] && bad "$1 $op: fails without a fault"
      [ "$fault" = silent ] && [ "$outcome" != failed ] && bad "$1 $op: no answer is not a failure"
    done
    printf '\n'
  done
}

# The two transports run side by side, each in a folder of its own.
mkdir pty && cp prog.qv3 prog.orig pty/
(cd pty && table pty >table.txt; exit $fail) &
pty_job=$!
table tcp >table.txt
wait $pty_job || fail=1
echo "outcome per operation and fault: ok = the clean result, failed = failure"
echo "reported and nothing lost, - = not applicable"
cat table.txt pty/table.txt
exit $fail
