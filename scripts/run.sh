#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine with the Japanese code
# page. It shows on $DISPLAY when there is one, else on a private Xvfb
# display (screenshots: OMBRELO_DISPLAY and `import -window root`).
#
# The run has a Wine prefix of its own, in which a stand-in slide show sits
# at PowerPoint's default path and a sample presentation lies in the folder
# the program starts in, so the whole typical run can be watched with
# nothing installed by hand. OMBRELO_DEMO_VIEWER=0 leaves the stand-in out:
# the program then asks for POWERPNT.EXE on its first start.
set -euo pipefail
self=$(readlink -f "$0")
cd "$(dirname "$self")/.."

bash scripts/deps.sh
source scripts/i386-route.sh "$self" "$@"
export OMBRELO_DISPLAY=${OMBRELO_DISPLAY:-${DISPLAY:-}}
source scripts/wine-arch.sh
export WINEPREFIX=$WINEPREFIX-run  # never the tests' prefix
source scripts/wine-env.sh
cmake --preset "$OMBRELO_PRESET" >/dev/null
cmake --build --preset "$OMBRELO_PRESET" --target ombrelo demo_viewer

office="$WINEPREFIX/drive_c/Program Files/Microsoft Office/Office"
if [ "${OMBRELO_DEMO_VIEWER:-1}" = 0 ]; then
  rm -f "$office/POWERPNT.EXE"
else
  mkdir -p "$office"
  cp "$OMBRELO_BUILD/demo_viewer.exe" "$office/POWERPNT.EXE"
fi
talks="$WINEPREFIX/drive_c/発表資料"
mkdir -p "$talks"
[ -e "$talks/サンプル.ppt" ] || echo "Ombrelo のデモ用の発表ファイルです。" >"$talks/サンプル.ppt"

export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
cd "$talks"  # where the program's file dialog opens
"$OMBRELO_WINE" "$OMBRELO_BUILD/ombrelo.exe"
