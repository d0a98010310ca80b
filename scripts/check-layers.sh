#!/usr/bin/env bash
# Fails when a file under src/ includes a header of a layer above its own.
# Each folder is one library, linked only with those below it
# (CMakeLists.txt): the platform at the bottom, then the settings and the
# clock, the window logic (ui) above both, and the program (app) on top.
# The logic (settings, clock, ui) sees only the platform's interfaces, never
# one of its implementations (platform/win32/, platform/posix/), which bring
# in the system's headers, and never <windows.h> itself.
#
# Every spelling of an include counts: spaces around "#" and before the
# name, quotes or angle brackets, and a name relative to the including
# file's folder ("../ui/views.h", "views.h") as well as to src/.
#
#   bash scripts/check-layers.sh [FILE...]   (default: every tracked file)
# LAYERS_ROOT names another tree whose src/ the FILEs are in.
set -euo pipefail
cd "${LAYERS_ROOT:-$(dirname "$0")/..}"
declare -A may_include=(
  [platform]="platform"
  [settings]="settings platform"
  [clock]="clock"
  [ui]="ui settings clock platform"
  [app]="app ui settings clock platform"
)
src=$PWD/src
status=0
fail() {
  echo "layers: $*" >&2
  status=1
}
check() {
  local file=$1 layer header target
  layer=${file#src/}
  layer=${layer%%/*}
  while IFS= read -r header; do
    if [[ $layer =~ ^(settings|clock|ui)$ && ${header,,} == windows.h ]]; then
      fail "$file ($layer) includes $header"
      continue
    fi
    # Quoted names are looked for beside the file first, as compilers do.
    if [[ $header == .* || -e $(dirname "$file")/$header ]]; then
      target=$(realpath -m "$(dirname "$file")/$header")
    else
      target=$(realpath -m "$src/$header")
    fi
    target=${target#"$src"/}
    [ -n "${may_include[${target%%/*}]+layer}" ] || continue  # the system's and the library's
    if [[ " ${may_include[$layer]:-} " != *" ${target%%/*} "* ]]; then
      fail "$file ($layer) includes $header, from a layer above it"
    elif [[ $layer =~ ^(settings|clock|ui)$ && $target =~ ^platform/(win32|posix)/ ]]; then
      fail "$file ($layer) includes $header, an implementation of the platform"
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]\([^">]*\)[">].*/\1/p' "$file")
}
if [ $# -gt 0 ]; then
  for file in "$@"; do check "$file"; done
else
  while IFS= read -r -d '' file; do check "$file"; done < <(git ls-files -z 'src/*.cpp' 'src/*.h')
fi
exit $status
