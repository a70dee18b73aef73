#!/usr/bin/env bash
# Checks the release archives as a user gets them: unpacks the zip and the
# tarball into a scratch folder, verifies SHA256SUMS, looks for build paths
# left in the programs, runs tarn --version from both and tarn.exe --version
# and Tarn.exe's start-up check (tests/wine/startup.sh) from the unpacked
# Windows folder under Wine. Run by scripts/package.sh; not part of
# scripts/test.sh, since it needs the release build.
# Usage: unpacked.sh WINDOWS.zip LINUX.tar.gz CHECKOUT
set -uo pipefail
if [ $# -ne 3 ]; then
  echo "usage: $0 WINDOWS.zip LINUX.tar.gz CHECKOUT" >&2
  exit 2
fi
zip=$(readlink -f "$1")
tgz=$(readlink -f "$2")
top=$(readlink -f "$3")
here=$(cd "$(dirname "$0")" && pwd)
version=$(head -1 "$top/VERSION")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
bad() { printf 'FAIL %s\n' "$*"; fail=1; }

python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$tmp" ||
  { echo "FAIL the zip does not unpack"; exit 1; }
tar -xzf "$tgz" -C "$tmp" || { echo "FAIL the tarball does not unpack"; exit 1; }
win=$tmp/orlo-$version-windows
lin=$tmp/orlo-$version-linux-x86_64

for f in Tarn.exe Orlo.exe tarn.exe 使用说明.html 说明.txt SHA256SUMS; do
  [ -s "$win/$f" ] || bad "the zip has no $f"
done
for f in tarn tarn-sim; do
  [ -x "$lin/$f" ] || bad "the tarball has no program $f"
done
(cd "$win" && sha256sum --quiet -c SHA256SUMS) || bad "SHA256SUMS does not match the files"
# Every picture the guide shows is in the zip.
for img in $(grep -o 'images/[A-Za-z0-9_]*\.png' "$win/使用说明.html" | sort -u); do
  [ -s "$win/$img" ] || bad "the guide shows $img, which the zip lacks"
done
for exe in "$win"/*.exe "$lin/tarn" "$lin/tarn-sim"; do
  grep -qaF "$top" "$exe" && bad "$(basename "$exe") names the build folder $top"
done

# The example programs (when the release has them) are sound program files.
for ex in "$win"/示例/*.qv3; do
  [ -e "$ex" ] || continue
  timeout 10 "$lin/tarn" check "$ex" >/dev/null 2>&1 || bad "tarn check $(basename "$ex") fails"
done

commit='\(commit ([0-9a-f]{12}(-dirty)?|unknown)\)'
want() {  # description, program name, output
  head -1 <<<"$3" | tr -d '\r' | grep -Eqx "$2 ${version//./\\.} $commit" || bad "$1: \"$3\""
}
want "tarn --version" tarn "$(timeout 10 "$lin/tarn" --version)"
want "tarn-sim --version" tarn-sim "$(timeout 10 "$lin/tarn-sim" --version)"

# Under Wine, from the unpacked folder; the prefix the start-up check makes
# beside the programs serves tarn.exe too.
export WINEPREFIX=$win/wine-test-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
timeout 120 bash "$top/scripts/wine-prefix.sh" "$WINEPREFIX" >"$tmp/prefix.log" 2>&1 ||
  bad "no Wine prefix: $(tail -3 "$tmp/prefix.log")"
want "tarn.exe --version under Wine" tarn "$(cd "$win" && timeout 60 wine ./tarn.exe --version 2>/dev/null)"
timeout 20 wineserver -k >/dev/null 2>&1
timeout 300 bash "$top/tests/wine/startup.sh" "$win/Tarn.exe" "$tmp/shots" "$win/tarn.exe" ||
  bad "Tarn.exe's start-up check from the unpacked folder"
timeout 300 bash "$top/tests/wine/orlo/startup.sh" "$win/Orlo.exe" "$tmp/shots" ||
  bad "Orlo.exe's start-up check from the unpacked folder"

[ $fail -eq 0 ] && echo "package: passed"
exit $fail
