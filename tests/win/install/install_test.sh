#!/usr/bin/env bash
# The x86_64 setup in a fresh Wine prefix, silently, as an administrator would run it:
#   1. install: the program, workbook, skin, uninstaller, Start-menu shortcut and uninstall
#      entry are there, every version number agrees (program, setup, uninstall entry, README,
#      the user's guide),
#      and the program started from the shortcut opens its window (it opens the workbook while
#      the window is made, so an unreadable workbook ends it before);
#   2. uninstall of an unchanged installation: nothing is left (files compared with the fresh
#      prefix, the uninstall entry is gone);
#   3. install again, the user replaces the workbook with their own and the program reads it;
#      a second silent install keeps the user's workbook;
#   4. uninstall: only the user's workbook is left.
# Screenshots of the program go to SHOTS (installed-main.png, own-workbook.png).
# Usage: install_test.sh BINARY_DIR WINPROBE_EXE VERSION SHOTS
# Exit 77 (skipped) when what it needs is not built: the native peinfo and dictbuild tools and
# the dictionary workbook (make test builds them first).
set -euo pipefail
bin=$1 probe=$2 version=$3 shots=$4
top=$(cd "$(dirname "$0")/../../.." && pwd)
native=$top/build/native
peinfo=$native/tools/peinfo/peinfo
dictbuild=$native/tools/dictbuild/dictbuild
say() { printf 'install_test: [%3d s] %s\n' "$SECONDS" "$*"; }
fail() { say "FAILED: $*"; exit 1; }
for tool in "$peinfo" "$dictbuild" "$native/assets/sapala.bat"; do
  [ -e "$tool" ] || { say "skipped: $tool is not built"; exit 77; }
done
command -v makensis >/dev/null || { say "skipped: makensis is missing"; exit 77; }

cmake --build "$bin" --target installer >"$bin/installer.log" 2>&1 || { cat "$bin/installer.log"; fail "making the setup"; }
setup=$bin/installer/sapala-setup.exe
work=$bin/install-test
rm -rf "$work"
mkdir -p "$work" "$shots"

# The user's own workbook: three words with their own notes.
printf 'ID\twarna\nwayang\twayang kulit (catatan saya)\nwatu\tbatu (catatan saya)\nwédang\tminuman panas (catatan saya)\n' > "$work/own.tsv"
"$dictbuild" "$work/own.tsv" "$work/own.bat" >/dev/null

# A fresh prefix for every run: a copy of a new one (made once per build tree, about 12 s, and
# never run). The copy links the template's program files (Wine never writes to them) and copies
# everything else (registry, ini files), so nothing done here reaches the template.
template=$bin/install-test-template
SAPALA_WINE_DIR=$template "$top/scripts/wine-prefix.sh"
mkdir -p "$work/wine"
cp -al "$template/prefix" "$work/wine/prefix"
cp "$template/prefix.ready" "$work/wine/"
(cd "$template/prefix" && find . -type f ! \( -name '*.dll' -o -name '*.exe' -o -name '*.nls' -o -name '*.fon' \
   -o -name '*.ttf' -o -name '*.sys' -o -name '*.drv' -o -name '*.ocx' -o -name '*.cpl' -o -name '*.acm' \
   -o -name '*.tlb' -o -name '*.ds' -o -name '*.ax' -o -name '*.com' \) -print0) |
  while IFS= read -r -d '' f; do cp -p --remove-destination "$template/prefix/$f" "$work/wine/prefix/$f"; done

# A session of its own for that prefix: its own wineserver, the display of the caller's session.
export SAPALA_WINE_DIR=$work/wine
unset SAPALA_WINE_SESSION
exec "$top/scripts/wine-session.sh" bash -s -- "$top" "$setup" "$probe" "$version" "$shots" \
  "$work" "$peinfo" <<'SESSION'
set -euo pipefail
top=$1 setup=$2 probe=$3 version=$4 shots=$5 work=$6 peinfo=$7
source "$top/scripts/wine-env.sh"
say() { printf 'install_test: [%3d s] %s\n' "$SECONDS" "$*"; }
fail() { say "FAILED: $*"; exit 1; }
wine() { timeout 60 "$wine64_bin" "$@" </dev/null; }
dir=$sapala_install_dir
c=$WINEPREFIX/drive_c
shortcut="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Sapala Bahasa Vova.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\SapalaVova'
# What the prefix holds, without the places Wine and NSIS write to on their own.
snapshot() {
  (cd "$c" && find . \( -path ./windows -o -path ./users \) -prune -o -print | LC_ALL=C sort)
}
installed_files() { (cd "$dir" && find . -type f | LC_ALL=C sort | tr '\n' ' '); }
uninstall() {   # the uninstaller copies itself into TEMP (~nsuN.tmp\Un.exe), starts the copy, returns
  wine "C:\\Program Files\\Sapala Vova\\uninstall.exe" /S "$@" >/dev/null 2>&1 || fail "uninstall.exe"
  for _ in $(seq 100); do   # done when the copy has ended
    [ -e "$dir/uninstall.exe" ] || pgrep -f -i '~nsu[0-9a-f]*\.tmp' >/dev/null || return 0
    sleep 0.2
  done
  fail "the uninstaller did not finish within 20 s"
}
crop() {   # crop NAME L T R B: that rectangle of the virtual desktop -> SHOTS/NAME
  "$top/scripts/screenshot.sh" "$work/desktop.png" >/dev/null
  convert "$work/desktop.png" -crop "$(($4 - $2))x$(($5 - $3))+$2+$3" +repage "$shots/$1"
}
shot() {   # shot CLASS NAME: the top window of CLASS once it has painted
  local where l t r b
  where=$(timeout 40 "$wine64_bin" "$probe" wait "$1" 20 </dev/null | tr -d '\r') || fail "no window of class $1"
  read -r _ l t r b _ <<<"$where"
  crop "$2" "$l" "$t" "$r" "$b"
}
guide=${SAPALA_GUIDE_SHOTS:-}   # set: also the pictures of the user's guide (setup pages, examples)
command -v xdotool >/dev/null || guide=""
start_program() {   # $1: screenshot name, $2: a word to search for (typed, then Enter).
  # Starts the program from its shortcut and waits for its window.
  timeout 60 "$wine64_bin" start /wait "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Sapala Bahasa Vova.lnk" \
    </dev/null >"$work/program.log" 2>&1 &
  local app=$!
  local where wl wt wr wb cx cy
  where=$(timeout 40 "$wine64_bin" "$probe" wait TForm1 30 </dev/null | tr -d '\r') \
    || { kill $app 2>/dev/null || true; cat "$work/program.log"; fail "the installed program did not show its window"; }
  read -r _ wl wt wr wb _ cx cy _ <<<"$where"
  if [ -n "${2:-}" ] && command -v xdotool >/dev/null; then
    xdotool type --delay 60 "$2"   # letters on the keyboard only: Wine loses remapped keys (ã)
    xdotool key Return
    sleep 1
  fi
  crop "$1" "$wl" "$wt" "$wr" "$wb"
  if [ -n "$guide" ] && [ "$1" = installed-main.png ]; then
    xdotool mousemove $((cx + 172)) $((cy + 336)) click 1   # the help button: the examples window
    shot TForm2 guide-examples.png
  fi
  timeout 30 "$wine64_bin" "$probe" close TForm1 20 </dev/null || fail "the program did not close"
  wait $app || true
}
install_by_hand() {   # $1: prefix of the screenshot names; $2: answer to a question, if one comes
  timeout 120 "$wine64_bin" "$setup_win" </dev/null >/dev/null 2>&1 &
  local setup_pid=$!
  shot '#32770' "$1-welcome.png"
  xdotool key Return
  if [ -n "${2:-}" ]; then
    sleep 2
    shot '#32770' "$1-question.png"
    xdotool key "$2"
  fi
  for _ in $(seq 100); do [ -f "$dir/uninstall.exe" ] && break; sleep 0.2; done
  sleep 2
  shot '#32770' "$1-finish.png"
  xdotool key Return   # Finish, with "Run Sapala Bahasa Vova" ticked
  timeout 40 "$wine64_bin" "$probe" wait TForm1 30 </dev/null >/dev/null || fail "Finish did not start the program"
  timeout 30 "$wine64_bin" "$probe" close TForm1 20 </dev/null || fail "the program did not close"
  wait $setup_pid || true
}

setup_win="Z:${setup//\//\\}"
rmdir "$dir" 2>/dev/null || true   # made empty by the prefix script for make run
before=$(snapshot)

say "1. silent install into a fresh prefix"
start=$SECONDS
wine "$setup_win" /S >/dev/null 2>&1 || fail "sapala-setup.exe /S"
say "   installed in $((SECONDS - start)) s: $(installed_files)"
for f in sapala.exe sapala.bat uninstall.exe; do
  [ -f "$dir/$f" ] || fail "$f is not installed"
done
cmp -s "$dir/sapala.bat" "$top/build/native/assets/sapala.bat" || fail "the installed workbook is not the built one"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
source "$top/scripts/assets.sh"   # where the setup found the skin, when the build has one
if skin=$(find_asset DiruriZedaz) && [ -d "$skin" ]; then
  diff -r "$skin" "$dir/DiruriZedaz" >/dev/null || fail "the skin folder is not installed as built"
fi
if skin=$(find_asset DiruriZedaz.lsz) && [ -n "$skin" ]; then
  cmp -s "$skin" "$dir/DiruriZedaz.lsz" || fail "the packed skin is not installed as built"
fi
"$peinfo" --release --version "$version" "$dir/sapala.exe" >/dev/null || fail "the installed program is not the release build of $version"
"$peinfo" "$setup" | grep -q "version file $version.0 product $version.0" || fail "the setup's version is not $version"
wine reg query "$key" /v DisplayVersion 2>/dev/null | tr -d '\r' | grep -q "REG_SZ[[:space:]]*$version\$" \
  || fail "the uninstall entry does not say version $version"
grep -q "^Version $version\.\$" "$top/README.md" || fail "README.md does not say 'Version $version.'"
grep -q "^This guide is for version $version\.\$" "$top/docs/guide.md" || fail "docs/guide.md is not for $version"
grep -q "^Panduan ini untuk versi $version\.\$" "$top/docs/panduan.md" || fail "docs/panduan.md is not for $version"
start_program installed-main.png kebo

say "2. silent uninstall of an unchanged installation"
uninstall
[ ! -e "$dir" ] || fail "left behind: $(installed_files)"
[ ! -e "$shortcut" ] || fail "the shortcut is left behind"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstall entry is left behind"
diff <(echo "$before") <(snapshot) || fail "the prefix differs from the fresh one"

say "3. install again; the user's own workbook is read, and kept by a second install"
if [ -n "$guide" ]; then install_by_hand guide-setup; else wine "$setup_win" /S >/dev/null 2>&1 || fail "second install"; fi
cp "$work/own.bat" "$dir/sapala.bat"
start_program own-workbook.png wa
if [ -n "$guide" ]; then
  install_by_hand guide-update n
else
  wine "$setup_win" /S >/dev/null 2>&1 || fail "install over a changed workbook"
fi
cmp -s "$dir/sapala.bat" "$work/own.bat" || fail "an install overwrote the user's workbook"

say "4. silent uninstall keeps only the user's workbook"
uninstall
[ "$(installed_files)" = "./sapala.bat " ] || fail "left behind: $(installed_files)"
cmp -s "$dir/sapala.bat" "$work/own.bat" || fail "the user's workbook changed"
[ ! -e "$shortcut" ] || fail "the shortcut is left behind"
expected=$(printf '%s\n' "$before" "./Program Files/Sapala Vova" "./Program Files/Sapala Vova/sapala.bat" | LC_ALL=C sort)
diff <(echo "$expected") <(snapshot) || fail "the prefix holds more than the user's workbook"
say "ok"
SESSION
