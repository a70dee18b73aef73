#!/usr/bin/env bash
# Tarn.exe's relay tools against tarn-sim's relay board under Wine and Xvfb,
# over TCP and over a Wine COM port linked to tarn-sim's pseudo-terminal,
# driven from the "工具" menu as a user does: the command wizard sends
# "闭合某一路" for channel 3 and the board (read by tarn over the other line)
# reports channel 3 closed; the relay test panel's "查询" turns channel 3
# green and the other 31 red; the debug terminal sends a query as a hex line
# and shows the board's answer in hex. Screenshots: relay_wizard.png,
# relay_test_panel.png, relay_terminal.png, about_box.png. Bounded in time.
# Usage: relay.sh <Tarn.exe> <screenshot folder> [tarn.exe] <tarn-sim>
set -uo pipefail

. "$(dirname "$0")/wine_session.bash"
wine_script_args relay "$@"
wine_session_start "$(dirname "$exe")"

title_pattern='^Orlo V1\.326\(固件0\.129\)'

# ---- The simulated controller with its relay board on both lines.
start_sim_both_lines 7 relay

# ---- Helpers.

# The board's state read by tarn over the line Tarn.exe does not use:
# prints "module 1 closed: ..." (a query, or the reply to another operation).
board() {  # operation, tarn link options...
  timeout 30 "$tarn" relay send "$@" 2>>"$wine_work/tarn-relay.log" | grep '^module'
}

# An entry of the "工具" menu: the menu bar's "通信" opened with the mouse,
# then Left to "工具" (its first entry selected) and Down to the entry.
tools_menu() {  # number of Downs: 0 指令向导, 1 调试助手, 2 调试工具
  timeout 5 xdotool mousemove --window "$win" 157 33 click 1
  local keys_=(Left)
  for _ in $(seq "$1"); do keys_+=(Down); done
  keys "${keys_[@]}" Return
}

# Pixels of one exact colour in a screenshot.
pixels() {  # file, colour
  convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -colorspace gray \
    -format '%[fx:round(mean*w*h)]' info:
}
# Bounding box "x y w h" of the pixels of one exact colour.
box() {  # file, colour
  convert "$1" -fill black +opaque "$2" -trim -format '%X %Y %w %h' info: | tr -d '+'
}

# The text of the focused edit box, through the clipboard (Ctrl+A, Ctrl+C);
# empty when the clipboard cannot be read here.
clipboard_text() {
  keys ctrl+a ctrl+c
  sleep 1
  timeout 10 python3 -c 'import tkinter
r = tkinter.Tk(); r.withdraw()
print(r.clipboard_get())' 2>/dev/null | sed 's/ *$//'
}

session() {  # name, settings file text, first?, tarn options for the other line...
  local name=$1 settings=$2 first=$3
  shift 3
  printf '%b' "$settings" >"$wine_work/qv_pV2.ini"

  # All channels open before Tarn.exe starts.
  [ "$(board open-all "$@")" = "module 1 closed: none" ] || fail "$name: the board did not open all"

  (cd "$wine_work" && exec wine "$exe") </dev/null >"$wine_work/tarn-$name.log" 2>&1 &
  wine_child_pid=$!
  poll 60 find_main || fail "$name: no main window"
  sleep 2
  click 600 300
  click 515 12  # connect
  sleep 2

  # "指令向导": the channel list (third stop of the tab order) to "第3路",
  # then "生成命令" and "发送" (the stops after the parameter and reply boxes).
  tools_menu 0
  wait_window '^继电器板指令生成向导V1\.7$' 20 "$name: wizard"
  local wizard=$found
  keys Tab Tab Down Down Tab Tab Tab space Tab space
  sleep 1
  [ "$first" = 1 ] && shot "$wizard" relay_wizard.png
  local state
  state=$(board query "$@")
  [ "$state" = "module 1 closed: 3" ] ||
    fail "$name: after the wizard's \"闭合某一路\" for channel 3 the board says: ${state:-nothing}"
  echo "relay: $name: the wizard closed channel 3"
  keys Escape
  wait_gone '^继电器板指令生成向导' 10 "$name: wizard"

  # "调试工具": "查询" (the fourth stop after the address list).
  tools_menu 2
  wait_window '^测试工具$' 20 "$name: relay test panel"
  local panel=$found
  keys Tab Tab Tab space
  sleep 2
  local png="$wine_work/panel_$name.png"
  timeout 10 import -window "$panel" "$png" || fail "$name: no picture of the panel"
  [ "$first" = 1 ] && cp "$png" "$shots/relay_test_panel.png" &&
    echo "relay: screenshot $shots/relay_test_panel.png ($(identify -format '%wx%h' "$png"))"
  local green red yellow
  green=$(pixels "$png" '#00FF00')
  red=$(pixels "$png" '#FF0000')
  yellow=$(pixels "$png" '#FFFF00')
  [ "$yellow" -eq 0 ] || fail "$name: channels still yellow after 查询 ($yellow pixels)"
  [ "$green" -gt 50 ] || fail "$name: no green channel after 查询"
  # 31 red buttons to one green one, whatever their labels cover.
  [ "$red" -gt $((green * 25)) ] && [ "$red" -lt $((green * 37)) ] ||
    fail "$name: $red red pixels to $green green ones, not 31 buttons to 1"
  # The green one is channel 3: first column, third of eight rows.
  read -r gx gy _ _ <<<"$(box "$png" '#00FF00')"
  read -r rx ry rw rh <<<"$(box "$png" '#FF0000')"
  local col=$(((gx - rx) * 4 / rw)) row=$(((gy - ry) * 8 / rh))
  [ "$col" -eq 0 ] && [ "$row" -eq 2 ] ||
    fail "$name: the green button sits in column $((col + 1)), row $((row + 1))"
  echo "relay: $name: 查询 shows channel 3 green and the others red"

  # "调试助手": hex display on; line 1 as hex, the query typed and sent.
  tools_menu 1
  wait_window '^调试窗口$' 20 "$name: debug terminal"
  local terminal=$found
  keys Tab space Tab Tab space Tab
  timeout 10 xdotool type --delay 40 "55 01 10 00 00 00 00 66"
  keys Tab space
  sleep 2
  [ "$first" = 1 ] && shot "$terminal" relay_terminal.png
  # The receive box is the last stop: after line 1's button, twelve more.
  keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab
  local text
  text=$(clipboard_text)
  if python3 -c 'import tkinter' 2>/dev/null; then
    [ "$text" = "22 01 10 00 00 00 04 37" ] ||
      fail "$name: the terminal shows \"$text\", not the board's answer 22 01 10 00 00 00 04 37"
    echo "relay: $name: the terminal shows the answer 22 01 10 00 00 00 04 37"
  else
    echo "relay: $name: no python3-tk to read the terminal's text; see relay_terminal.png"
  fi

  # Esc hides the terminal and the panel (they live on), leaving the main
  # window alone on the screen.
  keys Escape
  wait_gone '^调试窗口$' 10 "$name: terminal hidden"
  timeout 5 xdotool mousemove --window "$panel" 100 8 click 1
  keys Escape
  wait_gone '^测试工具$' 10 "$name: panel hidden"

  if [ "$first" = 1 ]; then
    # The system menu (the caption's icon), its last entry: the about box.
    find_main
    click 600 300
    timeout 5 xdotool mousemove --window "$win" 10 10 click 1
    keys Up Return
    wait_window '^关于 Orlo$' 20 "about box"
    shot "$found" about_box.png
    keys Return
    wait_gone '^关于 Orlo$' 10 "about box"
  fi

  find_main
  click 600 300
  close_tarn "$name"
}

session tcp "[canshu_v2]\r\ncom_or_tcp=1\r\nip=127.0.0.1\r\nsocket_port=$port\r\n" 1 \
  --serial "$wine_work/sim-pty"
session serial "[canshu_v2]\r\ncom_or_tcp=0\r\ncom_num=$((com - 1))\r\nbtl_num=5\r\n" 0 \
  --tcp "127.0.0.1:$port"
echo "relay: passed"
