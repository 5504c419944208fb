#!/usr/bin/env bash
# End to end: the real sapala.exe under Wine, installed with the real dictionary, driven with
# xdotool in the virtual desktop as a person would: type a word, press Enter, open the examples
# window. Screenshots go to build/screenshots/. Checks what the windows show through winprobe.
# Usage (inside a Wine session): search_e2e.sh SAPALA_EXE WINPROBE_EXE WORKBOOK SCREENSHOT_DIR
set -euo pipefail
exe=$1 probe=$2 workbook=$3 shots=$4
top=$(cd "$(dirname "$0")/../../.." && pwd)
source "$top/scripts/wine-env.sh"
if [ ! -f "$workbook" ]; then
  echo "search_e2e: no dictionary at $workbook (build the native 'dictionary' target first)"
  exit 77
fi
command -v xdotool >/dev/null || { echo "search_e2e: xdotool is missing"; exit 77; }
mkdir -p "$sapala_install_dir" "$shots"
cp -f "$exe" "$sapala_install_dir/sapala.exe"
cp -f "$workbook" "$sapala_install_dir/sapala.bat"
# The skin, packed and as a folder, as the program is installed (the native build makes it
# beside the workbook); the program runs with it, and must close cleanly with it.
skin_dir=$(dirname "$workbook")
rm -rf "$sapala_install_dir/DiruriZedaz" "$sapala_install_dir/DiruriZedaz.lsz"
[ -d "$skin_dir/DiruriZedaz" ] && cp -rf "$skin_dir/DiruriZedaz" "$sapala_install_dir/"
[ -f "$skin_dir/DiruriZedaz.lsz" ] && cp -f "$skin_dir/DiruriZedaz.lsz" "$sapala_install_dir/"

timeout 120 "$wine64_bin" "C:\\Program Files\\Sapala Vova\\sapala.exe" </dev/null >/dev/null 2>&1 &
app=$!
trap 'kill $app 2>/dev/null || true' EXIT
where=$(timeout 60 "$wine64_bin" "$probe" wait TForm1 30 </dev/null | tr -d '\r')
read -r _ _ _ _ _ _ cx cy cw ch <<<"$where"
[ "$cw $ch" = "321 366" ] || { echo "search_e2e: client area $cw x $ch, want 321 x 366"; exit 1; }
xdotool type --delay 60 "keb"
xdotool key Return
sleep 1
# The field holds what was typed; the substring list found rows: its meaning pane (the rich
# edit at 112, 200) shows the current row's meaning.
text=$(timeout 30 "$wine64_bin" "$probe" text TForm1 Edit </dev/null | tr -d '\r')
[ "$text" = "keb" ] || { echo "search_e2e: the search field holds '$text', want 'keb'"; exit 1; }
panes=$(timeout 30 "$wine64_bin" "$probe" texts TForm1 RichEdit20W </dev/null | tr -d '\r')
meaning=$(sed -n 's/^112 200 1 //p' <<<"$panes")
[ -n "$meaning" ] || { echo "search_e2e: the substring list's meaning pane is empty:"; echo "$panes"; exit 1; }
# Escape in a result pane leaves the program running; Tab moves on to the next pane.
xdotool mousemove $((cx + 150)) $((cy + 60)) click 1   # the prefix list's meaning pane
sleep 0.5
focus=$(timeout 30 "$wine64_bin" "$probe" focus TForm1 </dev/null | tr -d '\r')
[ "$focus" = "RichEdit20W 112 32" ] || { echo "search_e2e: a click on the pane left the focus at '$focus'"; exit 1; }
xdotool key Escape
sleep 1
timeout 30 "$wine64_bin" "$probe" wait TForm1 5 </dev/null >/dev/null ||
  { echo "search_e2e: Escape in a result pane closed the program"; exit 1; }
xdotool key Tab
sleep 0.5
focus=$(timeout 30 "$wine64_bin" "$probe" focus TForm1 </dev/null | tr -d '\r')
[ "$focus" = "RichEdit20W 112 144" ] || { echo "search_e2e: Tab from the pane moved the focus to '$focus'"; exit 1; }
"$top/scripts/screenshot.sh" "$shots/main-after-search.png"
xdotool mousemove $((cx + 172)) $((cy + 336)) click 1   # the help button: client 160..185 x 328..345
timeout 30 "$wine64_bin" "$probe" wait TForm2 10 </dev/null
sleep 0.5
"$top/scripts/screenshot.sh" "$shots/examples-window.png"
timeout 30 "$wine64_bin" "$probe" close TForm1 20 </dev/null
status=0
wait $app || status=$?
trap - EXIT
[ "$status" -eq 0 ] || { echo "search_e2e: the program ended with status $status"; exit 1; }
echo "search_e2e: ok"
