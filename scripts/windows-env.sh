# Sourced by the Windows scripts, after they set ROOT (the repository) and TARGET (x64, the
# default, or x86): where that target's cross-build, its Qt and its Wine prefix live, its
# toolchain, and the MinGW runtime DLLs a built program needs.
#
# TAVREL_WINDOWS_DIR chooses the working folder (default build-windows/, relative to the
# repository), WINEPREFIX the Wine prefix (default the target's folder's wine/). The 64-bit
# target works in the working folder itself, the 32-bit one in its x86/; the Firebird headers
# and the zips lie in the working folder.

TARGET=${TARGET:-x64}
case $TARGET in
  x64)
    TRIPLE=x86_64-w64-mingw32
    QT_NAME=qt6-mingw
    # 64-bit MinGW unwinds with SEH, 32-bit with DWARF-2: the runtime DLLs are named for it.
    LIBGCC_DLL=libgcc_s_seh-1.dll
    ;;
  x86)
    TRIPLE=i686-w64-mingw32
    QT_NAME=qt6-mingw32
    LIBGCC_DLL=libgcc_s_dw2-1.dll
    ;;
  *)
    echo "windows: the target is x64 or x86, not $TARGET" >&2
    exit 2
    ;;
esac

WIN=${TAVREL_WINDOWS_DIR:-$ROOT/build-windows}
mkdir -p "$WIN"
WIN=$(cd "$WIN" && pwd -P)
TARGET_DIR=$WIN
[[ $TARGET == x64 ]] || TARGET_DIR=$WIN/$TARGET
QT_MINGW=$TARGET_DIR/$QT_NAME
BUILD=$TARGET_DIR/tavrel
FIREBIRD_INCLUDE=$WIN/firebird-include
ZIP=$WIN/tavrel-windows-$TARGET.zip

export WINEPREFIX=${WINEPREFIX:-$TARGET_DIR/wine}
export WINEDEBUG=-all
# No prompts to install Mono or Gecko when a prefix is made: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Debian's Wine puts no wine on the PATH. Its wineserver serves 32-bit prefixes as well, and
# runs natively where the 32-bit loader is emulated.
WINESERVER=/usr/lib/wine/wineserver64
if [[ $TARGET == x64 ]]; then
  WINE=(/usr/lib/wine/wine64)
else
  export WINEARCH=win32
  # Where the kernel runs no 32-bit program, QEMU runs Wine's 32-bit loader
  # (scripts/windows-x86-test.sh): Wine wants the whole 4 GB for itself, and the preload
  # library (scripts/windows/fastreserve.c, built by wine_start) spares it the slow emulated
  # reservation of the upper half at each start. Both change nothing where the loader runs
  # natively.
  FASTRESERVE=$TARGET_DIR/fastreserve32.so
  # A crashing process would start winedbg, which under emulation ran on for minutes here.
  WINEDLLOVERRIDES+=";winedbg.exe=d"
  WINE=(env QEMU_RESERVED_VA=0xffff0000 LD_PRELOAD="$FASTRESERVE" /usr/lib/wine/wine)
fi

RUNTIME_DLLS=()
for dll in libstdc++-6.dll "$LIBGCC_DLL" libwinpthread-1.dll; do
  RUNTIME_DLLS+=("$(realpath "$("$TRIPLE-g++-posix" -print-file-name=$dll)")")
done

# A Linux path as Wine's drive Z: shows it.
windows_path() {
  local path=${1//\//\\}
  printf 'Z:%s' "$path"
}

# Start Wine for a series of runs: one wineserver serves them all (started by a program instead,
# it would hold that program's output open after it ends, and whoever reads it would wait), and
# the first start makes the prefix, which takes a while. A Windows workstation has Tahoma, the
# font the window was drawn with; Debian's Wine does not install its own Tahoma (fonts-wine)
# into a prefix, so it is put where Windows keeps its fonts.
wine_start() {
  if [[ $TARGET == x86 && ! $FASTRESERVE -nt $ROOT/scripts/windows/fastreserve.c ]]; then
    gcc -m32 -O2 -shared -fPIC "$ROOT/scripts/windows/fastreserve.c" -o "$FASTRESERVE" -ldl
  fi
  # wineserver needs the prefix's folder. It fails when the prefix's wineserver is running
  # already, which serves as well.
  mkdir -p "$WINEPREFIX"
  "$WINESERVER" --persistent >/dev/null 2>&1 || true
  "${WINE[@]}" wineboot --init >/dev/null 2>&1
  cp -n /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf \
    "$WINEPREFIX/drive_c/windows/Fonts/"
}

# One already gone is stopped as well.
wine_stop() {
  "$WINESERVER" --kill 2>/dev/null || true
}
