# Sourced after setting ROOT (the repository): the third-party pieces that the tests and the
# Windows build need, where each one is found and which command makes it.
#
#   piece         file                                made by (in scripts/thirdparty/)
#   firebird5     firebird5/firebird5.tar.xz          firebird5.sh SOURCE
#   firebird25    firebird25/firebird25.tar.xz        firebird25.sh SOURCE
#   firebird21    firebird21/firebird21.tar.xz        firebird21.sh SOURCE
#   fbclient-x64  windows/fbclient/x64/fbclient.dll   fbclient-windows.sh SOURCE
#   fbclient-x86  windows/fbclient/x86/fbclient.dll   fbclient-windows.sh SOURCE
#   qt-mingw-x64  windows/qt6-mingw-6.4.2.tar.xz      qt-mingw.sh x64
#   qt-mingw-x86  windows/qt6-mingw32-6.4.2.tar.xz    qt-mingw.sh x86
#
# A piece is taken from ../shared beside the repository, where the project keeps them built, and
# otherwise from the cache, TAVREL_CACHE (default ${XDG_CACHE_HOME:-~/.cache}/tavrel), where the
# scripts of this folder write what they build under the same names. TAVREL_FIREBIRD5_TAR,
# TAVREL_FIREBIRD25_TAR and TAVREL_FIREBIRD21_TAR name another copy of a server's tree.

SHARED_DIR=$(dirname "$ROOT")/shared
CACHE_DIR=${TAVREL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tavrel}

piece_file() {
  case $1 in
    firebird5 | firebird25 | firebird21) echo "$1/$1.tar.xz" ;;
    fbclient-x64 | fbclient-x86) echo "windows/fbclient/${1#fbclient-}/fbclient.dll" ;;
    qt-mingw-x64) echo windows/qt6-mingw-6.4.2.tar.xz ;;
    qt-mingw-x86) echo windows/qt6-mingw32-6.4.2.tar.xz ;;
    *)
      echo "thirdparty: no piece named '$1'" >&2
      return 2
      ;;
  esac
}

piece_title() {
  case $1 in
    firebird5) echo "Firebird 5" ;;
    firebird25) echo "Firebird 2.5" ;;
    firebird21) echo "Firebird 2.1" ;;
    fbclient-x64) echo "Firebird 2.5's fbclient.dll for 64-bit Windows" ;;
    fbclient-x86) echo "Firebird 2.5's fbclient.dll for 32-bit Windows" ;;
    qt-mingw-x64) echo "Qt 6.4.2 for 64-bit Windows (MinGW)" ;;
    qt-mingw-x86) echo "Qt 6.4.2 for 32-bit Windows (MinGW)" ;;
  esac
}

piece_recipe() {
  case $1 in
    firebird5 | firebird25 | firebird21) echo "scripts/thirdparty/$1.sh SOURCE" ;;
    fbclient-*) echo "scripts/thirdparty/fbclient-windows.sh SOURCE" ;;
    qt-mingw-*) echo "scripts/thirdparty/qt-mingw.sh ${1#qt-mingw-}" ;;
  esac
}

# The variable that names another copy of the piece, if it has one.
piece_variable() {
  case $1 in
    firebird5 | firebird25 | firebird21) echo "TAVREL_FIREBIRD${1#firebird}_TAR" ;;
  esac
}

# Prints the path of the piece; fails, printing nothing, when nobody has it.
piece_path() {
  local variable file dir
  file=$(piece_file "$1") || return 2
  variable=$(piece_variable "$1")
  if [[ -n $variable && -n ${!variable:-} ]]; then
    [[ -f ${!variable} ]] || return 1
    echo "${!variable}"
    return 0
  fi
  for dir in "$SHARED_DIR" "$CACHE_DIR"; do
    if [[ -f $dir/$file ]]; then
      echo "$dir/$file"
      return 0
    fi
  done
  return 1
}

# What a missing piece is and where it comes from, on one line.
piece_need() {
  local variable
  variable=$(piece_variable "$1")
  if [[ -n $variable && -n ${!variable:-} ]]; then
    echo "$(piece_title "$1") (${!variable}, named by $variable)"
  else
    echo "$(piece_title "$1") (../shared/$(piece_file "$1") or $(piece_recipe "$1"))"
  fi
}
