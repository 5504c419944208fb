# Sourced by the release scripts: where the assets the builds made are found.
# find_asset NAME prints the first existing path of NAME (file or folder) in
#   $SAPALA_ASSETS_DIR, build/native/assets, build/*/assets, assets/skin (the committed skin)
# and prints nothing when none has it.
find_asset() {
  local top d
  top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  for d in ${SAPALA_ASSETS_DIR:+"$SAPALA_ASSETS_DIR"} "$top/build/native/assets" "$top"/build/*/assets \
           "$top/assets/skin"; do
    if [ -e "$d/$1" ]; then echo "$d/$1"; return; fi
  done
}
