#!/usr/bin/env bash
# Build tavrel for Windows (scripts/windows-build.sh) and pack tavrel-windows-x64.zip: the
# program, the Qt DLLs and plugins it loads, the MinGW runtime and a README in Portuguese for
# whoever installs it, all in one folder tavrel/.
#
#   bash scripts/windows-package.sh
#
# Prints the path of the zip, in the Windows working folder (scripts/windows-env.sh).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
bash "$ROOT/scripts/windows-build.sh" >&2
source "$ROOT/scripts/windows-env.sh"

STAGE=$WIN/package/tavrel
ZIP=$WIN/tavrel-windows-x64.zip
rm -rf "$WIN/package" "$ZIP"
mkdir -p "$STAGE/platforms" "$STAGE/styles"
cp "$BUILD/tavrel.exe" "${RUNTIME_DLLS[@]}" "$STAGE/"
cp "$QT_MINGW"/bin/Qt6{Core,Gui,Widgets}.dll "$STAGE/"
cp "$QT_MINGW/plugins/platforms/qwindows.dll" "$STAGE/platforms/"
cp "$QT_MINGW/plugins/styles/qwindowsvistastyle.dll" "$STAGE/styles/"
# Notepad on older Windows reads UTF-8 only with its mark, and wants CR LF.
{
  printf '\xef\xbb\xbf'
  sed 's/$/\r/' "$ROOT/scripts/windows/LEIA-ME.txt"
} >"$STAGE/LEIA-ME.txt"
# The debugging information is most of their size.
find "$STAGE" -name '*.exe' -o -name '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded

# Every Qt or MinGW DLL that something in the package imports must be in it; the rest are
# Windows' own.
missing=0
while IFS= read -r binary; do
  while read -r dll; do
    if [[ ! -f $STAGE/$dll ]]; then
      echo "windows-package: $(basename "$binary") needs $dll, not in the package" >&2
      missing=1
    fi
  done < <(x86_64-w64-mingw32-objdump -p "$binary" | awk '/DLL Name: (Qt6|lib)/ {print $3}')
done < <(find "$STAGE" -name '*.exe' -o -name '*.dll')
[[ $missing -eq 0 ]]

(cd "$WIN/package" && zip -qr -X "$ZIP" tavrel)
echo "$ZIP"
