#!/usr/bin/env bash
# tarn-sim as hardware, seen through tarn device on 127.0.0.1 and a
# pseudo-terminal: address writes taken only in the power-up window (and
# again after SIGUSR1), a second TCP client waiting while the first is
# served, a client that reads none of its replies disconnected without
# stalling the others, a paced line still answering, and --stats at exit.
# Every process is bounded in time and stopped at the end.
# Usage: sim_hardware.sh PATH_TO_TARN PATH_TO_TARN_SIM
set -uo pipefail
. "$(dirname "$0")/lib.bash" "$@"

expect_address() {  # description, address expected, link arguments...
  local what=$1 want=$2; shift 2
  run device "$@" --timeout 2 address
  [ "$rc" = 0 ] && grep -qF "目标模块地址为 $want" out.txt ||
    bad "$what: status $rc, $(cat out.txt err.txt)"
}


# The power-up window: 2 s from start, then again after SIGUSR1.
start_sim window.log --tcp 127.0.0.1:0 --pty "$tmp/line" --power-up-window 2 --baud 9600 --stats
run device --tcp "127.0.0.1:$port" --address 5 set-address
[ "$rc" = 0 ] || bad "set-address in the window: status $rc $(cat err.txt)"
expect_address "in the window" 5 --tcp "127.0.0.1:$port"
sleep 2.2
run device --serial "$tmp/line" --baud 9600 --address 9 set-address
expect_address "after the window (terminal)" 5 --serial "$tmp/line" --baud 9600
expect_address "after the window (tcp)" 5 --tcp "127.0.0.1:$port"
grep -q 'address write to 9 ignored: outside the power-up window' window.log ||
  bad "no log of the ignored write: $(cat window.log)"
kill -USR1 "$sim_pid"
wait_log window.log 'power cycled: address writes taken for 2 s' || bad "no power cycle: $(cat window.log)"
run device --tcp "127.0.0.1:$port" --address 9 set-address
expect_address "after a power cycle" 9 --serial "$tmp/line" --baud 9600

# A second client waits while the first is served, and is served after it.
(exec 3<>"/dev/tcp/127.0.0.1/$port"; exec sleep 30) 2>/dev/null &
holder=$!
pids+=($holder)
wait_log window.log 'tcp client connected' || bad "the first client was not served"
timeout 30 "$tarn" device --tcp "127.0.0.1:$port" --address 9 --timeout 20 info >second.txt 2>&1 &
second=$!
wait_log window.log 'tcp client waiting: another client is being served (1 waiting)' ||
  bad "no log of the waiting client: $(cat window.log)"
kill "$holder"
wait "$second" || bad "the waiting client failed: $(cat second.txt)"
grep -qF '硬件内核' second.txt || bad "the waiting client got no answer: $(cat second.txt)"

# A client that sends requests and reads none of the replies is cut off;
# the next client is served.
start_sim stall.log --tcp 127.0.0.1:0 --verbose --reply-delay 0
"$tarn" device --tcp "127.0.0.1:$port" info2 >/dev/null 2>&1
request=$(sed -n 's/^tarn-sim: <- //p' stall.log | head -1)
kill -TERM "$sim_pid"; wait "$sim_pid" 2>/dev/null
start_sim stall.log --tcp 127.0.0.1:0 --reply-delay 0
printf '%s\n' "$request" | xxd -r -p >one.bin
# 28 requests doubled 14 times: 460,000 requests asking for 25 MB of replies.
for _ in $(seq 14); do cat one.bin one.bin; done >two.bin
for _ in $(seq 14); do cat two.bin two.bin >four.bin; mv four.bin two.bin; done
timeout 30 bash -c "exec 3<>/dev/tcp/127.0.0.1/$port; cat two.bin >&3; sleep 30" 2>/dev/null &
pids+=($!)
wait_log stall.log 'tcp client takes none of its replies: disconnected' ||
  bad "the client that never reads was not cut off: $(tail -3 stall.log)"
run device --tcp "127.0.0.1:$port" --timeout 5 clock
[ "$rc" = 0 ] || bad "a client after the stalled one: status $rc $(cat err.txt)"

# --stats at exit: the figures of the first simulator.
kill -TERM "${pids[0]}"
wait "${pids[0]}" 2>/dev/null
grep -Eq '^tarn-sim: stats: [1-9][0-9]* frames received, [1-9][0-9]* answered; [1-9][0-9]* bytes in, [1-9][0-9]* bytes out; 0 faults injected$' window.log ||
  bad "stats: $(tail -2 window.log)"
tail -1 window.log | grep -qx "tarn-sim: stopped" || bad "no stop notice after the stats"

exit $fail
