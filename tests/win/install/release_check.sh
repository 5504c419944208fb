#!/usr/bin/env bash
# A release program is fit to ship: it imports only the system's own DLLs (so it starts on a
# clean Windows), carries no debug sections, links its symbol file, and its version resource
# says VERSION. Reads the PE file with the native peinfo tool.
# Usage: release_check.sh PEINFO VERSION RELEASE_EXE [MACHINE]
# Exit 77 (skipped) when peinfo or the program is not built.
set -euo pipefail
peinfo=$1 version=$2 exe=$3 machine=${4:-}
for f in "$peinfo" "$exe"; do
  [ -e "$f" ] || { echo "release_check: skipped: $f is not built"; exit 77; }
done
"$peinfo" --release --version "$version" "$exe"
if [ -n "$machine" ]; then
  "$peinfo" "$exe" | head -n 1 | grep -q ": $machine, " || { echo "release_check: $exe is not $machine"; exit 1; }
fi
