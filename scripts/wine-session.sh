#!/usr/bin/env bash
# Runs a command inside a Wine session: the project's prefix configured (created once), a display
# (our own Xvfb, started with -displayfd, when there is none) and a warm wineserver. Whatever the
# session started is stopped by process id when the command ends.
# Usage: scripts/wine-session.sh COMMAND [ARGS...]
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
mkdir -p "$SAPALA_WINE_DIR"

if [ -n "${SAPALA_WINE_SESSION:-}" ]; then
  exec "$@"        # already inside a session: reuse it
fi

xvfb_pid=""
server_pid=""
cleanup() {
  local rc=$?
  if [ -n "$server_pid" ]; then
    "$wineserver_bin" -k 2>/dev/null || true
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    rm -f "$SAPALA_WINE_DIR/display"
  fi
  exit $rc
}
trap cleanup EXIT INT TERM

if [ -z "${DISPLAY:-}" ]; then
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 20 num < "$fifo" || { echo "wine-session: Xvfb did not start" >&2; exit 1; }
  rm -f "$fifo"
  export DISPLAY=":$num"
  echo "$DISPLAY" > "$SAPALA_WINE_DIR/display"
fi

"$(dirname "$0")/wine-prefix.sh"

# Keep the wineserver up for the whole run, so each program start does not pay for a new one.
# -f keeps it in the foreground, so its process id is ours to stop.
"$wineserver_bin" -f -p &
server_pid=$!
# Start Wine's own services (services.exe, plugplay, ...) now, with no file of ours open:
# they outlive the program that starts them and would hold its output pipe open.
timeout 60 "$wine64_bin" cmd /c exit </dev/null >/dev/null 2>&1 || true
export SAPALA_WINE_SESSION=1
"$@"
