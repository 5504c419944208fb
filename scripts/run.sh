#!/usr/bin/env bash
# make run: builds the x86_64 program, installs it with its data into the Wine prefix's
# "C:\Program Files\Sapala Vova", and starts it.
#  - With a display ($DISPLAY): the program runs there until you close it.
#  - Without one: it runs on our own Xvfb; once its window has painted, a screenshot goes to
#    build/screenshots/run.png and the program is closed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
source scripts/wine-env.sh

scripts/setup.sh
echo "run: building (win64)"
cmake --preset win64 >/dev/null
cmake --build build/win64 -j "$(nproc)" --target sapala winprobe

# The dictionary workbook and the skin are built natively by our own tools, when they exist.
cmake --preset native >/dev/null
for target in dictionary skin; do
  if ninja -C build/native -t targets all 2>/dev/null | grep -q "^$target:"; then
    cmake --build build/native -j "$(nproc)" --target "$target"
  fi
done

scripts/wine-prefix.sh
echo "run: installing into $sapala_install_dir"
mkdir -p "$sapala_install_dir"
cp -f build/win64/src/win/app/sapala.exe "$sapala_install_dir/"
[ -f build/native/assets/sapala.bat ] && cp -f build/native/assets/sapala.bat "$sapala_install_dir/"
# The skin as a folder and as a packed file (the packed one is what the program loads).
[ -d build/native/assets/DiruriZedaz ] && cp -rf build/native/assets/DiruriZedaz "$sapala_install_dir/"
[ -f build/native/assets/DiruriZedaz.lsz ] && cp -f build/native/assets/DiruriZedaz.lsz "$sapala_install_dir/"
exe="C:\\Program Files\\Sapala Vova\\sapala.exe"
probe="$top/build/win64/tests/win/probe/winprobe.exe"

if [ -n "${DISPLAY:-}" ] && [ -z "${SAPALA_HEADLESS:-}" ]; then
  echo "run: starting sapala.exe on $DISPLAY (close its window to end)"
  SAPALA_WINE_TIMEOUT=${SAPALA_WINE_TIMEOUT:-86400} scripts/wine-run.sh "$exe"
  exit $?
fi

unset DISPLAY
scripts/wine-session.sh bash -c '
  set -euo pipefail
  source scripts/wine-env.sh
  timeout 300 "$wine64_bin" "$1" </dev/null >build/wine/sapala.log 2>&1 &
  app=$!
  if ! timeout 60 "$wine64_bin" "$2" wait TForm1 30 </dev/null; then
    echo "run: the main window did not appear; see build/wine/sapala.log" >&2
    kill $app 2>/dev/null || true
    exit 1
  fi
  scripts/screenshot.sh build/screenshots/run.png
  timeout 60 "$wine64_bin" "$2" close TForm1 20 </dev/null >/dev/null || true
  wait $app || true
' run "$exe" "$probe"
