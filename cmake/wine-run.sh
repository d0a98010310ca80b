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
exec "$OMBRELO_WINE" "$@"
