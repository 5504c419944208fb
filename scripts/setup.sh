#!/usr/bin/env bash
# Installs what the build needs, idempotently, and says what it does:
#  1. Debian packages that are missing (apt);
#  2. the Windows builds of SQLite (static amalgamation), libjpeg-turbo and GoogleTest for both
#     mingw targets, from Debian's own source packages, cached under build/deps and rebuilt
#     only when missing.
# Usage: scripts/setup.sh [--packages-only]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
deps="$top/build/deps"
say() { printf 'setup: %s\n' "$*"; }

packages=(
  cmake ninja-build make g++ gcc clang libclang-rt-14-dev dpkg-dev tcl nasm
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 libz-mingw-w64-dev
  wine64 fonts-wine fonts-liberation fonts-noto-core xvfb imagemagick xdotool x11-utils
  nsis zip
  googletest libgtest-dev libbenchmark-dev zlib1g-dev libjpeg62-turbo-dev libsqlite3-dev
  libpng-dev libpng-tools python3 tesseract-ocr tesseract-ocr-jav
  catdoc python3-xlwt python3-xlrd libspreadsheet-writeexcel-perl
)
# npm comes with Debian's nodejs unless the machine has its own Node.js.
command -v npm >/dev/null 2>&1 || packages+=(npm)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  say "installing with apt: ${missing[*]}"
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    "${missing[@]}"
else
  say "all ${#packages[@]} Debian packages are present"
fi
[ "${1:-}" = "--packages-only" ] && exit 0

# npm's xlsx writes workbooks for the differential tests; it lives in the build tree.
if [ ! -f "$top/build/npm/node_modules/xlsx/package.json" ]; then
  say "installing npm's xlsx into build/npm"
  mkdir -p "$top/build/npm"
  npm install --silent --no-audit --no-fund --prefix "$top/build/npm" xlsx >/dev/null 2>&1 \
    || say "npm's xlsx could not be installed; the tests that need it will skip"
fi

# Source packages need deb-src entries. We derive them from the machine's own apt sources
# (deb822 files and one-line lists alike), so no mirror is named here.
ensure_deb_src() {
  local list=/etc/apt/sources.list.d/sapala-deb-src.sources
  if grep -rqs -E '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return
  fi
  say "adding deb-src entries derived from the machine's apt sources ($list)"
  local tmp; tmp=$(mktemp)
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] || continue
    sed -n -e 's/^Types:[[:space:]]*deb[[:space:]]*$/Types: deb-src/' -e 'p' "$f" >> "$tmp"
    printf '\n' >> "$tmp"
  done
  if [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | sed -e 's/^deb /deb-src /' \
      > /etc/apt/sources.list.d/sapala-deb-src.list || true
  fi
  as_root install -m 0644 "$tmp" "$list"
  rm -f "$tmp"
  as_root apt-get update -q
}

# Fetches and unpacks a Debian source package (with Debian's patches applied) once.
unpack_source() {
  local pkg=$1 dir="$deps/src"
  mkdir -p "$dir"
  local existing
  existing=$(find "$dir" -maxdepth 1 -type d -name "$2-*" | head -n 1)
  if [ -n "$existing" ]; then echo "$existing"; return; fi
  ensure_deb_src >&2
  say "fetching Debian's source package $pkg" >&2
  (cd "$dir" && apt-get source -q "$pkg" >&2)
  find "$dir" -maxdepth 1 -type d -name "$2-*" | head -n 1
}

jobs=$(nproc)

# SQLite with FTS5 (the trigram index of the substring search), in a folder of its own so
# that builds made before FTS5 was enabled keep theirs.
build_sqlite() {
  local triple=$1 prefix="$deps/sqlite3-fts5/$triple"
  [ -f "$prefix/lib/libsqlite3.a" ] && return
  local src; src=$(unpack_source sqlite3 sqlite3)
  if [ ! -f "$deps/sqlite-amalgamation/sqlite3.c" ]; then
    say "making the SQLite amalgamation from $src"
    rm -rf "$deps/sqlite-amalgamation"
    mkdir -p "$deps/sqlite-amalgamation"
    (cd "$deps/sqlite-amalgamation" && "$src/configure" -q >/dev/null && make -s sqlite3.c >/dev/null)
  fi
  say "building SQLite with FTS5 for $triple"
  local obj="$deps/obj/sqlite3-fts5-$triple"
  mkdir -p "$obj" "$prefix.tmp/lib" "$prefix.tmp/include"
  "$triple-gcc-posix" -O2 -c "$deps/sqlite-amalgamation/sqlite3.c" -o "$obj/sqlite3.o" \
    -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_DEFAULT_FOREIGN_KEYS=0 \
    -DSQLITE_ENABLE_FTS5
  rm -f "$prefix.tmp/lib/libsqlite3.a"
  "$triple-ar" rcs "$prefix.tmp/lib/libsqlite3.a" "$obj/sqlite3.o"
  cp "$deps/sqlite-amalgamation/sqlite3.h" "$deps/sqlite-amalgamation/sqlite3ext.h" "$prefix.tmp/include/"
  # Appears complete or not at all: another build may be looking for it meanwhile.
  rm -rf "$prefix"
  mv "$prefix.tmp" "$prefix"
}

build_jpeg() {
  local triple=$1 prefix="$deps/$triple"
  [ -f "$prefix/lib/libjpeg.a" ] && return
  local src; src=$(unpack_source libjpeg-turbo libjpeg-turbo)
  local tc=$top/cmake/toolchain-mingw64.cmake
  [ "$triple" = i686-w64-mingw32 ] && tc=$top/cmake/toolchain-mingw32.cmake
  say "building libjpeg-turbo for $triple"
  cmake -S "$src" -B "$deps/obj/jpeg-$triple" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$tc" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF \
    -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm \
    -Wno-dev >/dev/null
  cmake --build "$deps/obj/jpeg-$triple" -j "$jobs" >/dev/null
  cmake --install "$deps/obj/jpeg-$triple" >/dev/null
}

build_gtest() {
  local triple=$1 prefix="$deps/$triple"
  [ -f "$prefix/lib/libgtest.a" ] && return
  local tc=$top/cmake/toolchain-mingw64.cmake
  [ "$triple" = i686-w64-mingw32 ] && tc=$top/cmake/toolchain-mingw32.cmake
  say "building GoogleTest for $triple from /usr/src/googletest"
  cmake -S /usr/src/googletest -B "$deps/obj/gtest-$triple" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$tc" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -Dgtest_disable_pthreads=OFF \
    -Wno-dev >/dev/null
  cmake --build "$deps/obj/gtest-$triple" -j "$jobs" >/dev/null
  cmake --install "$deps/obj/gtest-$triple" >/dev/null
}

for triple in x86_64-w64-mingw32 i686-w64-mingw32; do
  build_sqlite "$triple"
  build_jpeg "$triple"
  build_gtest "$triple"
done
say "Windows dependencies ready in build/deps"
