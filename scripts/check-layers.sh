#!/usr/bin/env bash
# Fails when a file under src/ includes a header of a layer above its own.
# Each folder is one library, linked only with those below it
# (CMakeLists.txt): the platform at the bottom, then the settings and the
# clock, the window logic (ui) above both, and the program (app) on top.
set -euo pipefail
cd "$(dirname "$0")/.."
declare -A may_include=(
  [platform]="platform"
  [settings]="settings platform"
  [clock]="clock"
  [ui]="ui settings clock platform"
  [app]="app ui settings clock platform"
)
status=0
while IFS= read -r -d '' file; do
  layer=${file#src/}
  layer=${layer%%/*}
  while IFS= read -r header; do
    [[ " ${may_include[$layer]:-} " == *" ${header%%/*} "* ]] && continue
    echo "layers: $file ($layer) includes $header, from a layer above it" >&2
    status=1
  done < <(sed -n 's/^#include "\([a-z0-9_]*\/[^"]*\)".*/\1/p' "$file")
done < <(git ls-files -z 'src/*.cpp' 'src/*.h')
exit $status
