#!/usr/bin/env bash
# make dist: everything a release is made of, in build/dist:
#   sapala-setup.exe          setup of the i686 program (the release, for every Windows)
#   sapala-setup-x86_64.exe   setup of the x86_64 program (64-bit Windows)
#   sapala-VERSION-portable.zip   the i686 program with its workbook and skin, to unpack into
#                             "C:\Program Files\Sapala Vova" by hand, and the user's guide
#   symbols/ARCH/sapala.debug the symbols of each release program, for crash reports
#   SHA256SUMS
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
source scripts/assets.sh
say() { printf 'dist: %s\n' "$*"; }
jobs=$(nproc)

scripts/setup.sh
version=$(sed -n -E 's/^project\(Sapala VERSION ([0-9]+\.[0-9]+\.[0-9]+).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { say "no version in CMakeLists.txt"; exit 1; }
say "version $version"

# The native tools check the programs and make the workbook (and the skin, once it has a target).
cmake --preset native >/dev/null
targets=(peinfo dictionary)
ninja -C build/native -t targets all 2>/dev/null | grep -q '^skin:' && targets+=(skin)
cmake --build build/native -j "$jobs" --target "${targets[@]}"
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build "build/$preset" -j "$jobs" --target installer
done

dist=build/dist
rm -rf "$dist"
mkdir -p "$dist/symbols/i686" "$dist/symbols/x86_64"
cp build/win32/installer/sapala-setup.exe "$dist/sapala-setup.exe"
cp build/win64/installer/sapala-setup.exe "$dist/sapala-setup-x86_64.exe"
cp build/win32/release/sapala.debug "$dist/symbols/i686/sapala.debug"
cp build/win64/release/sapala.debug "$dist/symbols/x86_64/sapala.debug"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
folder="$stage/Sapala Vova"
mkdir -p "$folder/docs"
cp build/win32/release/sapala.exe "$folder/"
cp "$(find_asset sapala.bat)" "$folder/sapala.bat"
skin_dir=$(find_asset DiruriZedaz)
skin_pack=$(find_asset DiruriZedaz.lsz)
[ -n "$skin_dir" ] && [ -d "$skin_dir" ] && cp -r "$skin_dir" "$folder/DiruriZedaz"
[ -n "$skin_pack" ] && cp "$skin_pack" "$folder/"
cp docs/*.md "$folder/docs/"
[ -d docs/images ] && cp -r docs/images "$folder/docs/"
cat > "$folder/BACA-SAYA.txt" <<TXT
Sapala Bahasa Vova $version (32-bit, tanpa setup / without setup)

Salin folder "Sapala Vova" ini ke "C:\\Program Files\\" sehingga programnya berada di
"C:\\Program Files\\Sapala Vova\\sapala.exe": kamus dan skin dibaca dari folder itu.
Panduan: docs/panduan.md

Copy this folder "Sapala Vova" into "C:\\Program Files\\" so that the program is
"C:\\Program Files\\Sapala Vova\\sapala.exe": it reads its dictionary and skin from there.
User's guide: docs/guide.md
TXT
sed -i 's/$/\r/' "$folder/BACA-SAYA.txt"
(cd "$stage" && zip -q -X -r "$top/$dist/sapala-$version-portable.zip" "Sapala Vova")

(cd "$dist" && find . -type f ! -name SHA256SUMS | LC_ALL=C sort | sed 's|^\./||' | xargs sha256sum > SHA256SUMS)
say "wrote $dist:"
(cd "$dist" && find . -type f | LC_ALL=C sort | xargs ls -l | awk '{print "  " $5 "\t" $9}')
