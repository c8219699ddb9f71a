# Sourced by the Windows scripts, after they set ROOT (the repository): where the cross-build,
# its Qt and its Wine prefix live, and the MinGW runtime DLLs a built program needs.
#
# TAVREL_WINDOWS_DIR chooses the working folder (default build-windows/, relative to the
# repository), WINEPREFIX the Wine prefix (default the working folder's wine/).

WIN=${TAVREL_WINDOWS_DIR:-$ROOT/build-windows}
mkdir -p "$WIN"
WIN=$(cd "$WIN" && pwd -P)
QT_MINGW=$WIN/qt6-mingw
BUILD=$WIN/tavrel

# Debian's wine64 puts no wine on the PATH.
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
export WINEPREFIX=${WINEPREFIX:-$WIN/wine}
export WINEDEBUG=-all
# No prompts to install Mono or Gecko when a prefix is made: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="

RUNTIME_DLLS=()
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  RUNTIME_DLLS+=("$(realpath "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)")")
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
  # wineserver needs the prefix's folder. It fails when the prefix's wineserver is running
  # already, which serves as well.
  mkdir -p "$WINEPREFIX"
  "$WINESERVER" --persistent >/dev/null 2>&1 || true
  "$WINE" wineboot --init >/dev/null 2>&1
  cp -n /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf \
    "$WINEPREFIX/drive_c/windows/Fonts/"
}

# One already gone is stopped as well.
wine_stop() {
  "$WINESERVER" --kill 2>/dev/null || true
}
