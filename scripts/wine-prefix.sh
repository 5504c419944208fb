#!/usr/bin/env bash
# Creates and configures the project's Wine prefix once (about 12 s); later calls return at once.
# The stamp file records the configuration version; bump it when the configuration changes.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
config_version=3
stamp="$SAPALA_WINE_DIR/prefix.ready"
[ -f "$stamp" ] && [ "$(cat "$stamp")" = "$config_version" ] && exit 0

mkdir -p "$SAPALA_WINE_DIR"
exec 9>"$SAPALA_WINE_DIR/prefix.lock"
flock 9
[ -f "$stamp" ] && [ "$(cat "$stamp")" = "$config_version" ] && exit 0

echo "wine-prefix: creating $WINEPREFIX"
rm -rf "$WINEPREFIX"
timeout 120 "$wine64_bin" wineboot -i >/dev/null 2>&1 || true
"$wineserver_bin" -w || true
[ -d "$WINEPREFIX/drive_c/windows" ] || { echo "wine-prefix: wineboot failed" >&2; exit 1; }

# Wine does not find Debian's fonts-wine files where the package puts them: copy them in.
cp -f /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"

# A script that records the URLs the program hands to the browser, instead of opening any.
recorder="$SAPALA_WINE_DIR/browser.sh"
cat > "$recorder" <<REC
#!/bin/sh
printf '%s\n' "\$*" >> "$SAPALA_WINE_DIR/urls.log"
REC
chmod +x "$recorder"

reg="$SAPALA_WINE_DIR/settings.reg"
cat > "$reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"Arial"="Liberation Sans"
"Javanese Text"="Noto Sans Javanese"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]
"Audio"=""

[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]
"Browsers"="$recorder"

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
timeout 60 "$wine64_bin" regedit /S "$(sed 's|/|\\|g' <<<"Z:$reg")" >/dev/null 2>&1
"$wineserver_bin" -w || true
mkdir -p "$sapala_install_dir"
echo "$config_version" > "$stamp"
echo "wine-prefix: ready"
