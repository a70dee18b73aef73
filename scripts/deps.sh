#!/usr/bin/env bash
# Installs the Debian packages that building and testing Orlo need, only
# those that are missing. Usage: scripts/deps.sh [native|windows|package|all]
# (package: what scripts/package.sh needs on top of native and windows)
set -euo pipefail

what=${1:-all}
native=(cmake g++ make googletest libgtest-dev libbenchmark-dev nlohmann-json3-dev socat xxd)
windows=(mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth xdotool python3-tk
         fonts-wqy-microhei imagemagick x11-utils)
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
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
