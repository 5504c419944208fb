#!/usr/bin/env bash
# Remakes the pictures of the user's guide (docs/images) from a run of the install test in its
# guide mode: the setup pages, the program after a search, the examples window, the program on
# the user's own workbook. Needs the native and win64 builds (make test makes both).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
SAPALA_GUIDE_SHOTS=1 scripts/wine-session.sh ctest --test-dir build/win64 -R '^install_x86_64$' \
  --output-on-failure
shots=build/screenshots
while read -r from to; do
  cp "$shots/$from" "docs/images/$to"
  echo "guide-images: docs/images/$to"
done <<'MAP'
guide-setup-welcome.png setup-welcome.png
guide-update-question.png setup-question.png
guide-setup-finish.png setup-finish.png
installed-main.png main-search.png
guide-examples.png examples.png
own-workbook.png own-workbook.png
MAP
