#!/usr/bin/env bash
# tarn settings and tarn link as a user runs them: the settings file in the
# current folder, its defaults, what "set" writes and refuses, the link
# options overriding the file, and bytes over a TCP echo server and a
# serial echo device (socat; those parts are skipped without it).
# Usage: settings.sh PATH_TO_TARN
set -uo pipefail
tarn=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source "$(dirname "$0")/lib.bash"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done
  rm -rf "$tmp"
}
trap cleanup EXIT
cd "$tmp" || exit 1

expect_status() {  # description, expected status, command...
  local what=$1 want=$2; shift 2
  "$@" >/dev/null 2>&1
  local got=$?
  if [ "$got" != "$want" ]; then
    printf 'FAIL %s: status %s, wanted %s\n' "$what" "$got" "$want"
    fail=1
  fi
}
expect_file() {  # description, expected bytes (printf format)
  local want got
  want=$(printf "$2" | od -An -c)
  got=$(od -An -c qv_pV2.ini 2>/dev/null)
  if [ "$got" != "$want" ]; then
    printf 'FAIL %s\n  want: %s\n  got:  %s\n' "$1" "$want" "$got"
    fail=1
  fi
}

defaults=$'com_or_tcp=0\ncom_num=0\nbtl_num=5\nsocket_port=6000\nip=192.168.1.110'
expect "defaults without a file" "$defaults" "$tarn" settings
[ -e qv_pV2.ini ] && { echo "FAIL reading created the file"; fail=1; }
expect "link without a file" "serial /dev/ttyS0 9600" "$tarn" link

expect "set writes nothing on stdout" "" "$tarn" settings set socket_port 502
expect_file "first key creates the file" '[canshu_v2]\r\nsocket_port=502\r\n'
"$tarn" settings set com_or_tcp 1
"$tarn" settings set IP ""
"$tarn" settings set com_num 007
expect_file "keys in the order written, dialog forms" \
  '[canshu_v2]\r\nsocket_port=502\r\ncom_or_tcp=1\r\nip=192.168.1.110\r\ncom_num=7\r\n'
expect "values in effect" \
  $'com_or_tcp=1\ncom_num=7\nbtl_num=5\nsocket_port=502\nip=192.168.1.110' "$tarn" settings
expect "link from the file" "tcp 192.168.1.110:502" "$tarn" link

for bad in "com_or_tcp 2" "com_num 255" "btl_num 10" "socket_port 65536" "socket_port -1" \
           "socket_port 0x10" "baud 9600"; do
  # shellcheck disable=SC2086
  expect_status "refuses $bad" 2 "$tarn" settings set $bad
done
expect_status "set needs a value" 2 "$tarn" settings set ip
expect_file "refusals change nothing" \
  '[canshu_v2]\r\nsocket_port=502\r\ncom_or_tcp=1\r\nip=192.168.1.110\r\ncom_num=7\r\n'

# A file written by hand: other sections, blanks, letter case, a port above
# 16 bits, an empty address, a baud index off the table.
printf '; mine\r\n[other]\r\nip=1.1.1.1\r\n[CANSHU_V2]\r\n  COM_OR_TCP = 0 \r\nsocket_port=70000\r\nip=\r\nbtl_num=12\r\n' > qv_pV2.ini
expect "hand-written file" \
  $'com_or_tcp=0\ncom_num=0\nbtl_num=12\nsocket_port=4464\nip=192.168.1.110' "$tarn" settings
expect "baud index off the table opens at 9600" "serial /dev/ttyS0 9600" "$tarn" link
"$tarn" settings set btl_num 9
expect_file "set keeps other sections and the key's spelling" \
  '; mine\r\n[other]\r\nip=1.1.1.1\r\n[CANSHU_V2]\r\nCOM_OR_TCP=0\r\nsocket_port=70000\r\nip=\r\nbtl_num=9\r\n'

# Overrides.
expect "--tcp" "tcp 10.0.0.2:6001" "$tarn" link --tcp 10.0.0.2:6001
expect "--serial and --baud" "serial /dev/ttyUSB3 57600" "$tarn" link --serial /dev/ttyUSB3 --baud 57600
expect "COMn names a port" "serial /dev/ttyS11 115200" "$tarn" link --serial com12
expect_status "--tcp and --serial together" 2 "$tarn" link --tcp 1.2.3.4:5 --serial /dev/x
expect_status "--tcp without port" 2 "$tarn" link --tcp 1.2.3.4
expect_status "--tcp port 0" 2 "$tarn" link --tcp 1.2.3.4:0
expect_status "--baud on a TCP link" 2 "$tarn" link --tcp 1.2.3.4:5 --baud 9600
expect_status "--baud not a number" 2 "$tarn" link --baud fast
expect_status "bad hex" 2 "$tarn" link --send "0G"
expect_status "unknown option" 2 "$tarn" link --speed 9600
expect_status "missing device" 1 "$tarn" link --serial "$tmp/none" --send 01 --wait 10

# Waits up to 5 s for a condition.
wait_for() {
  local i
  for i in $(seq 1 100); do "$@" && return 0; sleep 0.05; done
  return 1
}

if command -v socat >/dev/null; then
  # TCP: an echo server on a free port.
  port=""
  for try in 1 2 3 4 5; do
    p=$((20000 + RANDOM % 30000))
    socat TCP-LISTEN:$p,bind=127.0.0.1,reuseaddr,fork EXEC:cat 2>/dev/null &
    pid=$!
    if wait_for bash -c "exec 3<>/dev/tcp/127.0.0.1/$p" 2>/dev/null; then
      pids+=("$pid"); port=$p; break
    fi
    kill "$pid" 2>/dev/null
  done
  if [ -n "$port" ]; then
    expect "bytes over TCP" $'tcp 127.0.0.1:'"$port"$'\n01 69 00 00 00 00 5D C3' \
      "$tarn" link --tcp 127.0.0.1:$port --send "01 69 00 00 00 00 5D C3" --wait 1000
  else
    echo "FAIL no TCP echo server"; fail=1
  fi
  expect "refused connection" $'tcp 127.0.0.1:1\ntarn: 建立连接失败 (tcp 127.0.0.1:1)' \
    "$tarn" link --tcp 127.0.0.1:1 --send 01

  # Serial: a pseudo-terminal whose far end echoes.
  socat PTY,link="$tmp/port",raw,echo=0 EXEC:cat 2>/dev/null &
  pids+=("$!")
  if wait_for test -e "$tmp/port"; then
    expect "bytes over a serial line" $'serial '"$tmp/port"$' 115200\n55 F5 40 00 00 00 00 8A' \
      "$tarn" link --serial "$tmp/port" --baud 115200 --send "55 F5 40 00 00 00 00 8A" --wait 1000
  else
    echo "FAIL no pseudo-terminal from socat"; fail=1
  fi
else
  echo "socat missing: skipping the byte exchanges"
fi

exit $fail
