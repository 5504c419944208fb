# Sourced by the Wine scripts: where the prefix lives and how every Wine process is started.
# SAPALA_WINE_DIR may point elsewhere (a test of its own); by default the prefix is in the build tree.
sapala_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export SAPALA_WINE_DIR=${SAPALA_WINE_DIR:-$sapala_top/build/wine}
export WINEPREFIX=$SAPALA_WINE_DIR/prefix
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono, no Gecko, no sound drivers: nothing is downloaded and nothing waits for a device.
# No menu builder: shortcuts made inside the prefix stay there (no desktop entries in $HOME).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=;winealsa.drv,winepulse.drv,wineoss.drv,winejack.drv="
wine64_bin=/usr/lib/wine/wine64
wineserver_bin=/usr/lib/wine/wineserver
[ -x "$wineserver_bin" ] || wineserver_bin=$(command -v wineserver)
# The program's fixed installation folder inside the prefix.
sapala_install_dir="$WINEPREFIX/drive_c/Program Files/Sapala Vova"
