#!/usr/bin/env bash
# Runs one Windows program under Wine, bounded by a timeout (a GUI program with no display would
# wait for ever). CMake uses this as the cross-compiling emulator, so ctest runs the win64 tests
# through it. Outside a session (scripts/wine-session.sh) it opens one for itself.
# Usage: scripts/wine-run.sh PROGRAM.exe [ARGS...]   (SAPALA_WINE_TIMEOUT seconds, default 240)
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
if [ -z "${SAPALA_WINE_SESSION:-}" ]; then
  exec "$(dirname "$0")/wine-session.sh" "$0" "$@"
fi
# Wine's background processes (the desktop, services) inherit the program's output handles and
# outlive it; if those were the caller's pipes, the caller (ctest) would wait for them. So the
# program writes into files, which are passed on when it ends.
out=$(mktemp); err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
rc=0
timeout --kill-after=5 "${SAPALA_WINE_TIMEOUT:-240}" "$wine64_bin" "$@" >"$out" 2>"$err" || rc=$?
cat "$out"
cat "$err" >&2
[ $rc -eq 124 ] && echo "wine-run: $1 timed out after ${SAPALA_WINE_TIMEOUT:-240} s" >&2
exit $rc
