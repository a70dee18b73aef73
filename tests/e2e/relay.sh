#!/usr/bin/env bash
# tarn relay and tarn terminal against tarn-sim's 32-channel relay board,
# over TCP on 127.0.0.1 and over a pseudo-terminal: channels switched one at
# a time, in groups, all at once, jogged and in timed sequences, their states
# read back; forms without reply; a board that does not answer; the debug
# terminal's hex and text display and its send lines. Every process is
# bounded in time and stopped at the end.
# Usage: relay.sh PATH_TO_TARN PATH_TO_TARN_SIM
set -uo pipefail
. "$(dirname "$0")/lib.bash" "$@"

# The channels the board reports closed after a relay send.
expect_closed() {  # description, closed channels ("1 3" or "none"), tarn relay send arguments...
  local what=$1 want=$2; shift 2
  run relay send "$@"
  if [ "$rc" != 0 ]; then
    bad "$what: status $rc; stderr: $(cat err.txt)"
  elif ! grep -qx "module [0-9]* closed: $want" out.txt; then
    bad "$what: wanted closed: $want; got: $(cat out.txt)"
  fi
}

start_sim sim.log --tcp 127.0.0.1:0 --pty "$tmp/line"

for link in "--tcp 127.0.0.1:$port" "--serial $tmp/line"; do
  # shellcheck disable=SC2086
  set -- $link
  expect_closed "all open first ($link)" "none" open-all "$@"
  expect_closed "close channel 3" "3" close --channel 3 "$@"
  run relay send close --channel 3 "$@"
  grep -qx "sent  55 01 12 00 00 00 03 6B" out.txt || bad "the frame sent: $(cat out.txt)"
  grep -qx "reply 22 01 12 00 00 00 04 39" out.txt || bad "the reply: $(cat out.txt)"
  expect_closed "toggle channel 5 by name" "3 5" 翻转某一路 --channel 5 "$@"
  expect_closed "query reads the states back" "3 5" 0 "$@"
  expect_closed "group close" "1 3 5 12 32" group-close --param "1 12 32 33" "$@"
  expect_closed "group open" "3 5 32" group-open --param "1 12" "$@"
  expect_closed "group toggle" "1 5 32" group-toggle --param "1 3" "$@"

  run relay send open --channel 5 --no-reply "$@"
  [ "$rc" = 0 ] || bad "a form without reply: status $rc; $(cat err.txt)"
  grep -q "^reply" out.txt && bad "a form without reply printed a reply"
  expect_closed "the form without reply was carried out" "1 32" query "$@"

  expect_closed "execute: only these closed" "2 4" execute --param "2 4" "$@"
  expect_closed "close all" "$(seq -s ' ' 1 32)" close-all "$@"
  expect_closed "open all" "none" open-all "$@"

  expect_closed "jog closes for a while" "7" jog --channel 7 --param 200 "$@"
  sleep 0.5
  expect_closed "and opens again" "none" query "$@"

  expect_closed "a timed sequence starts with its first channel" "10" \
    sequence-close --param "10 12 100" "$@"
  sleep 0.6
  expect_closed "and ends with all of them" "10 11 12" query "$@"
  expect_closed "the reverse sequence opens its first channel at once" "11 12" sequence-open --param "10 11 100" "$@"
  sleep 0.6
  expect_closed "leaves the rest" "12" query "$@"

  # The board at address 2 is not there: a bounded wait, then status 1.
  run relay send query --address 2 --timeout 0.3 "$@"
  [ "$rc" = 1 ] || bad "no reply: status $rc"
  grep -q "no reply from the relay board within 0.300 s" err.txt || bad "no reply: $(cat err.txt)"

  # A refused frame sends nothing and says why.
  run relay send group-close "$@"
  [ "$rc" = 1 ] || bad "refused: status $rc"
  grep -q "message: 提示: 请输入要求闭合的路数" err.txt || bad "refused: $(cat err.txt)"
  [ -s out.txt ] && bad "refused frame was sent: $(cat out.txt)"

  # The terminal in hex: one line sent, the reply shown.
  run terminal --hex --send-hex "55 01 10 00 00 00 00 66" --listen 300 "$@"
  [ "$rc" = 0 ] || bad "terminal --send-hex: status $rc; $(cat err.txt)"
  [ "$(cat out.txt)" = "22 01 10 00 00 08 00 3B " ] || bad "terminal hex: $(od -c out.txt)"

  # Typed hex lines, each sent as it comes, every reply shown.
  printf '55 01 12 00 00 00 01 69\r\n0x55 1 10 0 0 0 0 66\n' >lines.txt
  timeout 30 "$tarn" terminal --hex --hex-input --listen 300 "$@" <lines.txt >out.txt 2>err.txt
  [ "$(cat out.txt)" = "22 01 12 00 00 08 01 3E 22 01 10 00 00 08 01 3C " ] ||
    bad "typed hex lines: $(cat out.txt) $(cat err.txt)"

  # Text display: a state whose bytes read "ABCD".
  expect_closed "a state of letters" "3 7 9 10 15 18 23 25 31" execute \
    --param "3 7 9 10 15 18 23 25 31" "$@"
  run terminal --send-hex "55 01 10 00 00 00 00 66" --listen 300 "$@"
  grep -q 'ABCD=' out.txt || bad "terminal text: $(od -c out.txt)"
  expect_closed "all open again" "none" open-all "$@"
done

# Usage errors are told apart from device failures.
for args in "relay frame 15" "relay frame close --channel 33" "relay frame close --address 256" \
            "relay send" "terminal --send a --send-hex 01" "terminal --send-hex zz" \
            "terminal --listen x"; do
  # shellcheck disable=SC2086
  run $args --tcp 127.0.0.1:$port
  [ "$rc" = 2 ] || bad "$args: status $rc, wanted 2"
done

[ $fail -eq 0 ] && echo "e2e relay: all passed"
exit $fail
