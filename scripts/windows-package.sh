#!/usr/bin/env bash
# Build tavrel for Windows (scripts/windows-build.sh) and pack tavrel-windows-x64.zip (64-bit)
# or tavrel-windows-x86.zip (32-bit), or both: the program, the Qt DLLs and plugins it loads,
# the MinGW runtime and a README in Portuguese for whoever installs it, all in one folder
# tavrel/.
#
#   bash scripts/windows-package.sh [x64|x86|all]     (default x64)
#
# Prints the path of each zip, in the Windows working folder (scripts/windows-env.sh).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)

# In a subshell: each target's settings stay its own.
package() ( # target
  bash "$ROOT/scripts/windows-build.sh" "$1" >&2
  TARGET=$1
  source "$ROOT/scripts/windows-env.sh"

  stage=$TARGET_DIR/package/tavrel
  rm -rf "$TARGET_DIR/package" "$ZIP"
  mkdir -p "$stage/platforms" "$stage/styles"
  cp "$BUILD/tavrel.exe" "$BUILD/tavrel-import.exe" "${RUNTIME_DLLS[@]}" "$stage/"
  cp "$QT_MINGW"/bin/Qt6{Core,Gui,Widgets}.dll "$stage/"
  cp "$QT_MINGW/plugins/platforms/qwindows.dll" "$stage/platforms/"
  cp "$QT_MINGW/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
  # Notepad on older Windows reads UTF-8 only with its mark, and wants CR LF.
  {
    printf '\xef\xbb\xbf'
    sed 's/$/\r/' "$ROOT/scripts/windows/LEIA-ME.txt"
  } >"$stage/LEIA-ME.txt"
  # The debugging information is most of their size.
  find "$stage" -name '*.exe' -o -name '*.dll' | xargs "$TRIPLE-strip" --strip-unneeded

  # Every Qt or MinGW DLL that something in the package imports must be in it; the rest are
  # Windows' own.
  missing=0
  while IFS= read -r binary; do
    while read -r dll; do
      if [[ ! -f $stage/$dll ]]; then
        echo "windows-package: $(basename "$binary") ($TARGET) needs $dll, not in the package" >&2
        missing=1
      fi
    done < <("$TRIPLE-objdump" -p "$binary" | awk '/DLL Name: (Qt6|lib)/ {print $3}')
  done < <(find "$stage" -name '*.exe' -o -name '*.dll')
  [[ $missing -eq 0 ]]

  (cd "$TARGET_DIR/package" && zip -qr -X "$ZIP" tavrel)
  echo "$ZIP"
)

case ${1:-x64} in
  x64 | x86) package "${1:-x64}" ;;
  all)
    package x64
    package x86
    ;;
  *)
    echo "windows-package: the target is x64, x86 or all, not $1" >&2
    exit 2
    ;;
esac
