#!/usr/bin/env bash
# Prepares a Wine prefix for Tarn.exe: creates it when missing and maps the
# fonts the dialogs and lists ask for ("黑体", "SimHei", "MS Shell Dlg",
# "MS Shell Dlg 2", "Tahoma") to "WenQuanYi Micro Hei", so Chinese text
# shows on a Wine of any language.
# Usage: scripts/wine-prefix.sh <prefix folder>   (bounded in time)
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 <prefix folder>" >&2
  exit 2
fi
mkdir -p "$1"
export WINEPREFIX
WINEPREFIX=$(cd "$1" && pwd)
export WINEDEBUG=-all
# No prompts to install Mono or Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="
export HOME=${HOME:-/root}

font="WenQuanYi Micro Hei"
faces=("黑体" "SimHei" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma")

# The registry file in the form regedit reads in Unicode: UTF-16LE with a
# byte-order mark. A REGEDIT4 file would be read in the ANSI code page and
# mangle the Chinese value names.
reg_text() {
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for face in "${faces[@]}"; do
    printf '"%s"="%s"\r\n' "$face" "$font"
  done
  printf '\r\n'
}

# A prefix made before the 32-bit Wine loader was installed (or removed) does
# not start programs any more ("could not load kernel32.dll"): remember which
# loaders made it and make it again when that changes. Made with both, it
# runs the 64-bit and the 32-bit programs alike.
loaders="$(wine --version 2>/dev/null) 32-bit:$([ -x /usr/lib/wine/wine ] && echo yes || echo no)"
if [ -f "$WINEPREFIX/system.reg" ] && [ "$(cat "$WINEPREFIX/.orlo-loaders" 2>/dev/null)" != "$loaders" ]; then
  echo "wine-prefix: made by other Wine loaders, making it again"
  wineserver -k >/dev/null 2>&1 || true
  find "$WINEPREFIX" -mindepth 1 -delete
fi

stamp="$WINEPREFIX/.orlo-fonts"
wanted=$(reg_text | md5sum | cut -d' ' -f1)
if [ -f "$WINEPREFIX/system.reg" ] && [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]; then
  exit 0
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-prefix: creating $WINEPREFIX"
  timeout 300 wineboot --init </dev/null >/dev/null 2>&1 || {
    echo "wine-prefix: wineboot failed" >&2
    exit 1
  }
  echo "$loaders" >"$WINEPREFIX/.orlo-loaders"
fi

regfile="$WINEPREFIX/orlo-fonts.reg"
{ printf '\xff\xfe'; reg_text | iconv -f UTF-8 -t UTF-16LE; } >"$regfile"
timeout 120 wine regedit /S "$(winepath -w "$regfile" 2>/dev/null || echo "$regfile")" \
  </dev/null >/dev/null 2>&1 || {
  echo "wine-prefix: regedit failed" >&2
  exit 1
}
# Ending the server writes the registry to disk.
wineserver -k >/dev/null 2>&1 || true
for _ in $(seq 1 50); do
  grep -q 'WenQuanYi' "$WINEPREFIX/user.reg" 2>/dev/null && break
  sleep 0.2
done
# Wine keeps non-ASCII names as \x escapes: "黑体" is \x9ed1\x4f53.
if ! grep -qF '"\x9ed1\x4f53"="WenQuanYi Micro Hei"' "$WINEPREFIX/user.reg" ||
   ! grep -qF '"MS Shell Dlg"="WenQuanYi Micro Hei"' "$WINEPREFIX/user.reg"; then
  echo "wine-prefix: the font replacements did not reach the registry" >&2
  exit 1
fi
echo "$wanted" >"$stamp"
