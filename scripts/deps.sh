#!/usr/bin/env bash
# Installs the Debian packages that building and testing Orlo need, only
# those that are missing. Usage: scripts/deps.sh [native|windows|package|all]
# (package: what scripts/package.sh needs on top of native and windows)
set -euo pipefail

what=${1:-all}
native=(cmake g++ make googletest libgtest-dev libbenchmark-dev nlohmann-json3-dev socat xxd)
# wine32:i386 is the 32-bit Wine loader Orlo.exe runs on; it needs Debian's
# i386 architecture next to the machine's own.
windows=(mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 wine32:i386
         xvfb xauth xdotool python3-tk fonts-wqy-microhei imagemagick x11-utils)
package=(python3 cmark)

case "$what" in
  native) want=("${native[@]}") ;;
  windows) want=("${windows[@]}") ;;
  package) want=("${package[@]}") ;;
  all) want=("${native[@]}" "${windows[@]}") ;;
  *) echo "usage: $0 [native|windows|package|all]" >&2; exit 2 ;;
esac

missing=()
for p in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
for p in "${missing[@]}"; do
  case "$p" in
    *:i386)
      dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
      break ;;
  esac
done
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
