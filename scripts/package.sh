#!/usr/bin/env bash
# Builds the release archives from the checkout, the same bytes on every run
# of the same commit:
#   dist/orlo-VERSION-windows.zip        Tarn.exe, tarn.exe, Orlo.exe (the
#       32-bit edition), the example programs as .qv3 (when examples/
#       exists), 使用说明.html with its screenshots, 说明.txt, SHA256SUMS
#   dist/orlo-VERSION-linux-x86_64.tar.gz   tarn, tarn-sim
# Release trees of their own: build/release-native, -win64 and -win32.
# Times come from the commit (SOURCE_DATE_EPOCH), entries are sorted, owners
# and modes fixed, and the programs carry no build paths (ORLO_RELEASE_BUILD).
# Then tests/package/unpacked.sh checks the archives from unpacked copies.
# Usage: scripts/package.sh [--twice | --compare]
#   --compare: build the programs again from empty trees in other folders
#              (build/release2-*), without the compiler cache, pack them and
#              compare with the archives in dist; nothing in dist changes.
#   --twice:   the usual run, then --compare.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
first=1 compare=0
case "${1:-}" in
  --twice) compare=1 ;;
  --compare) first=0 compare=1 ;;
  "") ;;
  *) echo "usage: $0 [--twice | --compare]" >&2; exit 2 ;;
esac

bash scripts/deps.sh all
bash scripts/deps.sh package

version=$(head -1 VERSION)
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || stat -c %Y VERSION)
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C.UTF-8
jobs=$(nproc 2>/dev/null || echo 2)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# Builds the release programs in build/<prefix>-native, -win64 and -win32.
build_trees() {  # prefix
  local native=build/$1-native win=build/$1-win64 win32=build/$1-win32
  cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=Release -DORLO_RELEASE_BUILD=ON \
    "${launcher[@]}" >/dev/null
  cmake --build "$native" -j"$jobs" --target tarn tarn-sim
  cmake -S . -B "$win" -DCMAKE_BUILD_TYPE=Release -DORLO_RELEASE_BUILD=ON \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw64.cmake" "${launcher[@]}" >/dev/null
  cmake --build "$win" -j"$jobs" --target Tarn tarn
  cmake -S . -B "$win32" -DCMAKE_BUILD_TYPE=Release -DORLO_RELEASE_BUILD=ON \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw32.cmake" "${launcher[@]}" >/dev/null
  cmake --build "$win32" -j"$jobs" --target Orlo
}

# Writes a zip of folder $2 (its name the top entry) to $1: sorted entries,
# the commit's time, fixed modes, names in UTF-8 (flagged, so Windows shows
# the Chinese names).
write_zip() {  # zip, folder
  python3 - "$1" "$2" <<'PY'
import os, sys, time, zipfile
out, folder = sys.argv[1], sys.argv[2]
base = os.path.dirname(os.path.abspath(folder))
when = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]
paths = []
for root, dirs, files in os.walk(folder):
    paths.append(root + "/")
    paths += [os.path.join(root, f) for f in files]
with zipfile.ZipFile(out, "w") as z:
    for p in sorted(paths, key=lambda s: s.encode()):
        name = os.path.relpath(p, base) + ("/" if p.endswith("/") else "")
        info = zipfile.ZipInfo(name, when)
        info.create_system = 3
        if name.endswith("/"):
            info.external_attr = (0o40755 << 16) | 0x10
            z.writestr(info, b"")
        else:
            mode = 0o755 if os.access(p, os.X_OK) else 0o644
            info.external_attr = (0o100000 | mode) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(p, "rb") as f:
                z.writestr(info, f.read(), compresslevel=9)
PY
}

write_tar() {  # tar.gz, folder
  tar --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner \
    --mode='u+rwX,go+rX,go-w' --format=gnu -C "$(dirname "$2")" -cf - "$(basename "$2")" |
    gzip -9n >"$1"
}

# Stages and packs the programs of build/<prefix>-* into folder $2.
make_archives() {  # prefix, output folder
  local native=build/$1-native win=build/$1-win64 win32=build/$1-win32 out=$2
  local stage=build/$1-stage
  local wname=orlo-$version-windows lname=orlo-$version-linux-x86_64
  rm -rf "$stage" && mkdir -p "$stage/$wname" "$stage/$lname" "$out"
  local w=$stage/$wname
  cp "$win/Tarn.exe" "$win/tarn.exe" "$win32/Orlo.exe" "$w/"
  if compgen -G "examples/*.json" >/dev/null; then
    mkdir -p "$w/示例"
    for f in examples/*.json; do
      "$native/tarn" build "$f" "$w/示例/$(basename "$f" .json).qv3" >/dev/null
    done
  fi
  bash scripts/guide-shots.sh
  scripts/guide-html.sh docs/使用说明.md "$w/使用说明.html" "$version"
  mkdir -p "$w/images"
  for shot in $(grep -o 'images/[A-Za-z0-9_]*\.png' docs/使用说明.md | sort -u); do
    cp "docs/$shot" "$w/images/"
  done
  # Notepad reads UTF-8 with a byte-order mark on every Windows. A line
  # opening with [NAME] stays only when NAME is in the folder.
  { printf '\xef\xbb\xbf'
    while IFS= read -r line; do
      if [[ $line =~ ^\[([^]]+)\](.*)$ ]]; then
        [ -e "$w/${BASH_REMATCH[1]}" ] || continue
        line=${BASH_REMATCH[2]}
      fi
      printf '%s\r\n' "${line//@VERSION@/$version}"
    done <docs/说明.txt; } >"$w/说明.txt"
  (cd "$w" && find . -type f | sed 's|^\./||' | sort | xargs -d '\n' sha256sum) >"$stage/SHA256SUMS"
  mv "$stage/SHA256SUMS" "$w/"
  find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
  rm -f "$out/$wname.zip" && write_zip "$out/$wname.zip" "$w"

  cp "$native/tarn" "$native/tarn-sim" "$stage/$lname/"
  find "$stage/$lname" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
  write_tar "$out/$lname.tar.gz" "$stage/$lname"
}

if [ $first -eq 1 ]; then
  build_trees release && make_archives release dist
  echo "== dist"
  (cd dist && sha256sum "orlo-$version-windows.zip" "orlo-$version-linux-x86_64.tar.gz")
  python3 -c 'import sys, zipfile; [print(i.filename, i.file_size) for i in zipfile.ZipFile(sys.argv[1]).infolist()]' \
    "dist/orlo-$version-windows.zip"
  tar -tvzf "dist/orlo-$version-linux-x86_64.tar.gz"
  echo "== test"
  bash tests/package/unpacked.sh "dist/orlo-$version-windows.zip" \
    "dist/orlo-$version-linux-x86_64.tar.gz" "$top"
fi

if [ $compare -eq 1 ]; then
  echo "== the same again in build/release2-*, every file compiled anew"
  rm -rf build/release2-*
  CCACHE_DISABLE=1 build_trees release2
  make_archives release2 build/release2-dist
  status=0
  for name in "orlo-$version-windows.zip" "orlo-$version-linux-x86_64.tar.gz"; do
    if cmp "dist/$name" "build/release2-dist/$name"; then
      echo "identical: $name"
    else
      echo "DIFFERENT: $name"
      status=1
    fi
  done
  exit $status
fi
