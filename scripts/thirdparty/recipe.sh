# Sourced by the recipes of this folder, after pieces.sh: what every recipe does around its own
# build.
#
#   recipe_begin NAME "PIECE..." "USAGE" "$@"
#       with every piece already there (../shared, then the cache) prints their paths and exits;
#       otherwise leaves the arguments in ARGS (without --rebuild, which builds all the same)
#   recipe_work                     sends all further output to stderr and prepares an empty
#                                   WORK folder in the cache
#   recipe_source SOURCE DIR        a source tarball or folder unpacked or copied into DIR
#   recipe_packages PACKAGE...      Debian packages the build needs, installed when root
#   recipe_patch FILE SED CHECK     a sed edit that must change FILE, leaving a line like CHECK
#   recipe_keep PIECE FILE          FILE becomes the piece in the cache; prints its path
#   recipe_end                      removes WORK and says how long the build took

recipe_die() {
  echo "$RECIPE: $*" >&2
  exit 1
}

recipe_usage() {
  echo "usage: $0 $RECIPE_USAGE" >&2
  exit 2
}

recipe_begin() {
  local piece path found=()
  RECIPE=$1
  RECIPE_PIECES=($2)
  RECIPE_USAGE=$3
  shift 3
  if [[ ${1:-} == --rebuild ]]; then
    shift
  else
    for piece in "${RECIPE_PIECES[@]}"; do
      path=$(piece_path "$piece") && found+=("$path")
    done
    if ((${#found[@]} == ${#RECIPE_PIECES[@]})); then
      printf '%s\n' "${found[@]}"
      exit 0
    fi
  fi
  ARGS=("$@")
}

recipe_work() {
  # Standard output carries only the paths of the pieces.
  exec 3>&1 1>&2
  RECIPE_START=$SECONDS
  WORK=$CACHE_DIR/work/$RECIPE
  rm -rf "$WORK"
  mkdir -p "$WORK"
  echo "$RECIPE: building in $WORK"
}

recipe_source() {
  local source=$1 dir=$2
  mkdir -p "$dir"
  if [[ -d $source ]]; then
    cp -a "$source/." "$dir/"
  elif [[ -f $source ]]; then
    # One top folder, whatever its name.
    tar -xf "$source" -C "$dir" --strip-components=1 || recipe_die "cannot unpack $source"
  else
    recipe_die "no source at $source"
  fi
}

recipe_packages() {
  local package missing=()
  for package; do
    [[ $(dpkg-query -W -f='${Status}' "$package" 2>/dev/null) == "install ok installed" ]] ||
      missing+=("$package")
  done
  ((${#missing[@]})) || return 0
  [[ $(id -u) -eq 0 ]] || recipe_die "needs the packages ${missing[*]} (as root it installs them)"
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y --no-install-recommends "${missing[@]}" ||
    { apt-get update && apt-get install -y --no-install-recommends "${missing[@]}"; }
}

# A source of another release would build something else without a word: each edit must change
# the file and leave what it is for.
recipe_patch() {
  local file=$1 expression=$2 check=$3 before
  before=$(cksum <"$file")
  sed -i -e "$expression" "$file"
  [[ $(cksum <"$file") != "$before" ]] && grep -q -e "$check" "$file" ||
    recipe_die "$file did not take the edit '$expression'"
}

recipe_keep() {
  local piece=$1 file=$2 target
  target=$CACHE_DIR/$(piece_file "$piece")
  mkdir -p "$(dirname "$target")"
  mv -f "$file" "$target.part"
  mv -f "$target.part" "$target"
  echo "$RECIPE: $(piece_title "$piece") is $target ($(stat -c %s "$target") bytes)"
  echo "$target" >&3
}

recipe_end() {
  local elapsed=$((SECONDS - RECIPE_START))
  rm -rf "$WORK"
  echo "$RECIPE: built in $((elapsed / 60)) min $((elapsed % 60)) s on $(nproc) cores"
}
