#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine with the Japanese code
# page. It shows on $DISPLAY when there is one, else on a private Xvfb
# display (screenshots: OMBRELO_DISPLAY and `import -window root`).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
source scripts/i386-route.sh "$@"
export OMBRELO_DISPLAY=${OMBRELO_DISPLAY:-${DISPLAY:-}}
source scripts/wine-env.sh
cmake --preset "$OMBRELO_PRESET" >/dev/null
cmake --build --preset "$OMBRELO_PRESET" --target ombrelo

export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
"$OMBRELO_WINE" "$OMBRELO_BUILD/ombrelo.exe"
