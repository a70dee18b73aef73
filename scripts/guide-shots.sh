#!/usr/bin/env bash
# Copies the screenshots the user guide shows (the images/NAME.png it names)
# from the Wine suite's folder, build/win64/screenshots, into docs/images,
# without the time stamps ImageMagick writes into them. When one is missing,
# builds the native and Windows trees and runs the Wine suite first, which
# takes them. Nothing here is kept in git (*.png is ignored).
# Usage: scripts/guide-shots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
# One at a time: a second run waits for the Wine suite of the first.
mkdir -p build
exec 9>build/guide-shots.lock
flock 9
shots=build/win64/screenshots
names=$(grep -o 'images/[A-Za-z0-9_]*\.png' docs/使用说明.md | sed 's|images/||' | sort -u)

missing() {
  for n in $names; do [ -s "$shots/$n" ] || return 0; done
  return 1
}
if missing; then
  echo "guide-shots: running the Wine suite for the screenshots"
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
  cmake --build build/native -j"$(nproc)" --target tarn-sim
  cmake -S . -B build/win64 -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw64.cmake" "${launcher[@]}" >/dev/null
  # The programs the screenshot-taking scripts start; not the Win32 unit
  # tests (wine_host).
  cmake --build build/win64 -j"$(nproc)" --target Tarn tarn TarnFirmwareTest
  (cd build/win64 && ctest --output-on-failure -R '^wine_' -E '^wine_host$') || true
  # Orlo.exe's windows, from the 32-bit tree (into the same folder).
  cmake -S . -B build/win32 -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw32.cmake" "${launcher[@]}" >/dev/null
  cmake --build build/win32 -j"$(nproc)" --target Orlo
  (cd build/win32 && ctest --output-on-failure -R '^wine_orlo_startup$') || true
fi

mkdir -p docs/images
status=0
for n in $names; do
  # Replaced whole, never rewritten in place: a packing run may be reading it.
  if [ -s "$shots/$n" ] &&
     convert "$shots/$n" -strip -define png:exclude-chunks=date,time "docs/images/.$n" &&
     [ -s "docs/images/.$n" ]; then
    mv "docs/images/.$n" "docs/images/$n"
  else
    echo "guide-shots: the Wine suite left no $shots/$n" >&2
    rm -f "docs/images/.$n"
    status=1
  fi
done
exit $status
