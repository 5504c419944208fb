#!/usr/bin/env bash
# make bench: every benchmark of the project, each against its peer in the same run, then one
# table (scripts/bench-table.py): measure, figure, peer, ratio, target, met or not.
#   native   Google Benchmark programs of build/native/bench (PNG, graphics, data, skin, controls)
#   Wine     keystroke_bench (a key in the search field to both lists repainted, 200,000 rows
#            against the installed dictionary; memory with the 200,000-row dictionary open) and
#            startup_bench (start to first paint of the installed program against a minimal
#            window program), and frame_paint_bench (the skinned frame's first paint and resize
#            repaint against the same window unskinned), in one warm Wine session
# Results and logs go to build/bench/. Under ten minutes on a quiet two-core machine; the
# figures move with the machine's load (run it when nothing else builds).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
source scripts/wine-env.sh
out=build/bench
rm -rf "$out"
mkdir -p "$out"
jobs=$(nproc)

scripts/setup.sh
echo "bench: building (native, win64)"
cmake --preset native >/dev/null
cmake --build build/native -j "$jobs" --target png_bench graphics_bench data_bench skin_load_bench \
  skin_paint_bench controls_bench dictionary benchbook
cmake --preset win64 >/dev/null
cmake --build build/win64 -j "$jobs" --target sapala keystroke_bench startup_bench minimal_window \
  frame_paint_bench

book=build/native/bench-data/jav-200k.xls
[ -f "$book" ] || tools/benchbook/make-bench-workbook.sh build/native/tools/benchbook/benchbook "$book" 200000

for b in codecs/png_bench graphics/graphics_bench data/data_bench skin/skin_load_bench \
         skin/skin_paint_bench controls/controls_bench; do
  name=$(basename "$b")
  echo "bench: $name"
  "build/native/bench/$b" --benchmark_min_time=0.2 --benchmark_out="$out/$name.json" \
    --benchmark_out_format=json >"$out/$name.txt" 2>"$out/$name.err" \
    || { echo "bench: $name failed (see $out/$name.err)"; }
done

echo "bench: installing the program into the Wine prefix"
scripts/wine-prefix.sh
mkdir -p "$sapala_install_dir" "$WINEPREFIX/drive_c/sapala-bench"
cp -f build/win64/src/win/app/sapala.exe build/native/assets/sapala.bat "$sapala_install_dir/"
[ -d build/native/assets/DiruriZedaz ] && cp -rf build/native/assets/DiruriZedaz "$sapala_install_dir/"
[ -f build/native/assets/DiruriZedaz.lsz ] && cp -f build/native/assets/DiruriZedaz.lsz "$sapala_install_dir/"
cp -f build/win64/tests/win/bench/minimal_window.exe "$WINEPREFIX/drive_c/sapala-bench/"

echo "bench: keystroke_bench, startup_bench and frame_paint_bench under Wine"
SAPALA_WINE_TIMEOUT=600 scripts/wine-session.sh bash -c '
  source scripts/wine-env.sh
  for i in 1 2 3; do
    timeout 300 "$wine64_bin" build/win64/tests/win/bench/keystroke_bench.exe \
      build/native/assets/sapala.bat "$1" </dev/null >"$2/keystroke.$i.txt" 2>"$2/keystroke.$i.err" || true
  done
  timeout 300 "$wine64_bin" build/win64/tests/win/bench/startup_bench.exe \
    "C:\\Program Files\\Sapala Vova\\sapala.exe" TForm1 "C:\\sapala-bench\\minimal_window.exe" \
    MinimalWindow 7 </dev/null >"$2/startup.txt" 2>"$2/startup.err" || true
  timeout 300 "$wine64_bin" build/win64/tests/win/bench/frame_paint_bench.exe \
    </dev/null >"$2/frame.txt" 2>"$2/frame.err" || true
' bench "$book" "$out"

python3 scripts/bench-table.py "$out" | tee "$out/table.md"
