#!/usr/bin/env bash
# Runs a Windows program under Wine with the Japanese ANSI code page (932),
# in a Wine prefix of the build's own: 32-bit Wine, or 64-bit Wine where the
# machine cannot run 32-bit processes (scripts/wine-arch.sh).
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-arch.sh"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# OMBRELO_LANG picks another locale (hi_IN.UTF-8 has no ANSI code page:
# Wine then uses UTF-8, code page 65001, as Windows' "Beta: UTF-8" does).
export LANG=${OMBRELO_LANG:-ja_JP.UTF-8}
export LC_ALL=$LANG
[ -n "${OMBRELO_WINE_DPI:-}" ] || exec "$OMBRELO_WINE" "$@"

# OMBRELO_WINE_DPI=N: the program runs in a Wine session started at N dots
# per inch. Windows, and Wine 10, fix the scale when a session starts, so the
# session running now is ended first, and the one at N afterwards, with the
# prefix's scale put back to its default (96).
scale='HKCU\Control Panel\Desktop'
session_end() { wineserver -k 2>/dev/null; wineserver -w; }
session_end
"$OMBRELO_WINE" reg add "$scale" /v LogPixels /t REG_DWORD /d "$OMBRELO_WINE_DPI" /f >/dev/null
wineserver -w
"$OMBRELO_WINE" "$@"
status=$?
session_end
"$OMBRELO_WINE" reg delete "$scale" /v LogPixels /f >/dev/null
wineserver -w
exit $status
