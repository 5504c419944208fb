#!/usr/bin/env bash
# Writes a PNG of the Wine virtual desktop (the whole screen of our own Xvfb, or the desktop
# window on a real display). Usage: scripts/screenshot.sh OUT.png
# The display is $DISPLAY, or the one a running session recorded in build/wine/display.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
out=${1:?usage: screenshot.sh OUT.png}
if [ -z "${DISPLAY:-}" ] && [ -f "$SAPALA_WINE_DIR/display" ]; then
  DISPLAY=$(cat "$SAPALA_WINE_DIR/display"); export DISPLAY
fi
[ -n "${DISPLAY:-}" ] || { echo "screenshot: no display (start the program with make run first)" >&2; exit 1; }
mkdir -p "$(dirname "$out")"
target=root
if command -v xdotool >/dev/null; then
  id=$(xdotool search --name 'Wine desktop' 2>/dev/null | head -n 1 || true)
  [ -n "$id" ] && target=$id
fi
import -display "$DISPLAY" -window "$target" "$out"
echo "screenshot: $out"
