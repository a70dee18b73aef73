#!/usr/bin/env bash
# tarn device against tarn-sim over TCP on 127.0.0.1 and a pseudo-terminal:
# programs written and read back byte for byte (up to the 200000-byte limit),
# clock, information 1 and 2, address, learning, and the fault options; a
# request that was not sent or not answered, a slow line, a bridge that
# hangs up and one that never accepts.
# Every process is bounded in time and stopped at the end.
# Usage: device.sh PATH_TO_TARN PATH_TO_TARN_SIM
set -uo pipefail
. "$(dirname "$0")/lib.bash" "$@"

# tarn, never for more than 30 s; output in out.txt and err.txt, status in rc.
expect_ok() {  # description, text expected in standard output, tarn arguments...
  local what=$1 want=$2; shift 2
  run "$@"
  if [ "$rc" != 0 ]; then
    bad "$what: status $rc; stderr: $(cat err.txt)"
  elif [ -n "$want" ] && ! grep -qF -- "$want" out.txt; then
    bad "$what: no \"$want\" in: $(cat out.txt)"
  fi
}
expect_fail() {  # description, status, text expected in standard error, tarn arguments...
  local what=$1 status=$2 want=$3; shift 3
  run "$@"
  if [ "$rc" != "$status" ]; then
    bad "$what: status $rc, wanted $status; stderr: $(cat err.txt)"
  elif ! grep -qF -- "$want" err.txt; then
    bad "$what: no \"$want\" in stderr: $(cat err.txt)"
  fi
}

# Starts tarn-sim with the arguments, waits (at most 5 s) until it says where
# it listens, and sets port to its TCP port.

# A program file of result lines with 63-byte remarks (72 bytes each), then
# one line with a remark of the given length: 22 + 72 * full + 9 + last bytes.
make_program() {  # full lines, last remark length, out.qv3
  local remark last
  remark=$(printf 'r%.0s' $(seq 63))
  last=$(printf 'z%.0s' $(seq "$2"))
  {
    printf '{"format": "orlo-program", "version": 1, "sections": [{"section": "main", "lines": [\n'
    for _ in $(seq "$1"); do
      printf '{"type": "result", "bytes": "01 01 01 00 00 00 01", "remark": "%s"},\n' "$remark"
    done
    printf '{"type": "result", "bytes": "01 01 01 00 00 00 01", "remark": "%s"}]}],\n' "$last"
    printf ' "names": [{"alias": "水泵", "system": "输出3"}]}\n'
  } >"$3.json"
  timeout 30 "$tarn" build "$3.json" "$3" || bad "building $3"
}

# With the 20-byte name block: 22 + 72 * 2776 + 9 + 57 + 20 = 199980 bytes,
# whose last block starts at 199950; one more full line and a 5-byte remark
# make exactly 200000, which is refused.
make_program 3 10 small.qv3
make_program 2776 57 near.qv3
make_program 2777 5 toolarge.qv3
[ "$(wc -c <near.qv3)" = 199980 ] || bad "near.qv3 is $(wc -c <near.qv3) bytes"
[ "$(wc -c <toolarge.qv3)" = 200000 ] || bad "toolarge.qv3 is $(wc -c <toolarge.qv3) bytes"

start_sim main.log --tcp 127.0.0.1:0 --pty "$tmp/line"
main_pid=$sim_pid
[ -L "$tmp/line" ] || bad "no link at $tmp/line"
today=$(date -u -d @$(( $(date +%s) + 28800 )) +%Y年%-m月%-d日)

for link in "--tcp 127.0.0.1:$port" "--serial $tmp/line"; do
  # shellcheck disable=SC2086
  set -- $link
  expect_ok "write ($link)" "全部数据已写入！" device "$@" write small.qv3
  expect_ok "read ($link)" "全部数据已读取完毕！" device "$@" read back.qv3
  cmp -s small.qv3 back.qv3 || bad "read back differs ($link)"
  grep -q "progress: " err.txt || bad "no progress shown ($link)"

  expect_ok "write near the limit ($link)" "全部数据已写入！" device "$@" write near.qv3
  expect_ok "read near the limit ($link)" "全部数据已读取完毕！" device "$@" read back.qv3
  cmp -s near.qv3 back.qv3 || bad "large read back differs ($link)"

  expect_fail "too large ($link)" 1 "message: 提示: 程序过大（" device "$@" write toolarge.qv3
  expect_ok "program kept after the refusal ($link)" "全部数据已读取完毕！" device "$@" read back.qv3
  cmp -s near.qv3 back.qv3 || bad "the controller's program changed after a refused write"

  expect_ok "clock-set ($link)" "模块的当前时间为：$today" device "$@" clock-set
  expect_ok "clock ($link)" "模块的当前时间为：$today" device "$@" clock
  expect_ok "info ($link)" "硬件内核：3.0内核" device "$@" info
  grep -qx "每个掉电存储扇区可存储的数组数：10" out.txt || bad "info's last line ($link)"
  expect_ok "info2 ($link)" "系统主频：72 MHz" device "$@" info2
  expect_ok "address ($link)" "目标模块地址为 1" device "$@" address
  expect_ok "learn radio ($link)" "接收到无线遥控信号，遥控参数:1 遥控码:10101010" device "$@" learn radio
  grep -qx "1 10101010" out.txt || bad "radio code line ($link)"
  expect_ok "learn ir ($link)" "2 20202020" device "$@" learn ir
  expect_ok "learn universal ($link)" "26 00 1A 2B 3C 4D 5E 6F" device "$@" learn universal
done

# The relay board on the 0x55 frames: close channel 1, then ask its state.
run link --tcp "127.0.0.1:$port" --send "55 01 12 00 00 00 01 69" --wait 500
[ "$(tail -1 out.txt)" = "22 01 12 00 00 00 01 36" ] || bad "relay close: $(cat out.txt)"
run link --serial "$tmp/line" --send "55 01 10 00 00 00 00 66" --wait 500
[ "$(tail -1 out.txt)" = "22 01 10 00 00 00 01 34" ] || bad "relay query: $(cat out.txt)"

# A new bus address: the controller answers only at it afterwards.
expect_ok "set-address" "" device --tcp "127.0.0.1:$port" --address 9 set-address
expect_ok "address after set-address" "目标模块地址为 9" device --tcp "127.0.0.1:$port" address
expect_ok "info at the new address" "硬件内核" device --serial "$tmp/line" --address 9 info
expect_fail "no answer at the old address" 1 "no reply from the controller within 0.500 s" \
  device --tcp "127.0.0.1:$port" --timeout 0.5 clock
# The clock setting is answered; one that is not is no success.
expect_fail "clock-set unanswered" 1 \
  "no answer from the controller within 0.500 s to the clock setting" \
  device --tcp "127.0.0.1:$port" --timeout 0.5 clock-set

# Back-to-back runs over the pseudo-terminal: every frame reaches the controller.
before=$(grep -c "clock set" main.log)
for i in 1 2 3 4 5; do
  expect_ok "back-to-back clock-set $i" "模块的当前时间为" device --serial "$tmp/line" --address 9 clock-set
done
[ "$(grep -c "clock set" main.log)" = $((before + 5)) ] || bad "back-to-back clock-set frames lost"

# Usage and link errors.
expect_fail "no command" 2 "usage: tarn device" device
expect_fail "unknown command" 2 "usage: tarn device" device --tcp "127.0.0.1:$port" fly
expect_fail "address out of range" 2 "--address" device --address 256 clock
expect_fail "bad time-out" 2 "--timeout" device --timeout 0 clock
expect_fail "missing program file" 1 "" device --tcp "127.0.0.1:$port" write missing.qv3
expect_fail "nothing listening" 1 "建立连接失败" device --tcp 127.0.0.1:1 clock

# Faults. A dropped reply: a clear time-out, exit status 1.
start_sim drop.log --tcp 127.0.0.1:0 --drop-every 1
expect_fail "dropped reply" 1 "no reply from the controller within 0.500 s to the clock read" \
  device --tcp "127.0.0.1:$port" --timeout 0.5 clock
# A garbled reply fails its check: the same.
start_sim garble.log --tcp 127.0.0.1:0 --garble-every 1
expect_fail "garbled reply" 1 "no reply from the controller within 0.500 s" \
  device --tcp "127.0.0.1:$port" --timeout 0.5 info
# An answer of the wrong kind says what came.
start_sim misanswer.log --tcp 127.0.0.1:0 --misanswer-every 1
expect_fail "learn universal, answered otherwise" 1 \
  "the reply is not a universal infrared code (command 0x6C, wanted 0x69): 01 6C 00 00 00 00" \
  device --tcp "127.0.0.1:$port" --timeout 0.5 learn universal
# A corrupted image: refused, and the file in place is kept.
start_sim corrupt.log --tcp 127.0.0.1:0 --program near.qv3 --corrupt-every 1000
printf 'keep' >kept.qv3
expect_fail "corrupted image" 1 "message: 提示: 数据有误！" device --tcp "127.0.0.1:$port" read kept.qv3
[ "$(cat kept.qv3)" = keep ] || bad "the file was replaced by a corrupted read"
# The hardware information 2 layout follows the reply's length.
start_sim short.log --tcp 127.0.0.1:0 --info2-length 33
expect_ok "info2 in layout E" "数组（局部数组）空间：640" device --tcp "127.0.0.1:$port" info2

# A bridge that hangs up at once: nothing counts as sent.
start_sim hangup.log --tcp 127.0.0.1:0 --hang-up
expect_fail "clock-set, bridge hung up" 1 "网络已断开" device --tcp "127.0.0.1:$port" clock-set
expect_fail "set-address, bridge hung up" 1 "网络已断开" device --tcp "127.0.0.1:$port" set-address
expect_fail "link --send, bridge hung up" 1 "网络已断开" \
  link --tcp "127.0.0.1:$port" --send "01 69 00 00 00 00 5D C3" --wait 2000

# A slow line: a reply whose bytes keep coming is not cut off by --timeout.
code=$(for i in $(seq 40); do printf '%02X ' "$i"; done)
code=${code% }
start_sim slow.log --tcp 127.0.0.1:0 --pty "$tmp/slow" --pace 40 --universal-code "$code"
expect_ok "slow reply (tcp)" "$code" device --tcp "127.0.0.1:$port" --timeout 0.5 learn universal
expect_ok "slow reply (serial)" "$code" device --serial "$tmp/slow" --timeout 0.5 learn universal

# A listener that accepts nobody: connecting gives up after --timeout. One
# client keeps tarn-sim busy; the others wait in its queue until it is full
# and further requests go unanswered.
start_sim busy.log --tcp 127.0.0.1:0
(exec 3<>"/dev/tcp/127.0.0.1/$port"; exec sleep 60) 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do grep -q "tcp client connected" busy.log && break; sleep 0.1; done
full=
for _ in $(seq 40); do
  timeout 1 bash -c "exec 3<>/dev/tcp/127.0.0.1/$port" 2>/dev/null
  [ $? = 124 ] && { full=1; break; }
done
if [ -n "$full" ]; then
  expect_fail "connect to a listener that never accepts" 1 "建立连接失败" \
    device --tcp "127.0.0.1:$port" --timeout 1 clock
else
  bad "the listener's queue did not fill"
fi

# A signal stops the simulator cleanly and removes its link.
kill -TERM "$main_pid"
for _ in $(seq 50); do kill -0 "$main_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$main_pid" 2>/dev/null; then
  bad "tarn-sim did not stop on SIGTERM"
else
  wait "$main_pid"
  [ $? = 0 ] || bad "tarn-sim ended with a failure status"
fi
[ -e "$tmp/line" ] || [ -L "$tmp/line" ] && bad "the link outlived tarn-sim"
tail -1 main.log | grep -qx "tarn-sim: stopped" || bad "no stop notice: $(tail -1 main.log)"
grep -q "program written: 199980 bytes" main.log || bad "the simulator did not log the large write"

exit $fail
