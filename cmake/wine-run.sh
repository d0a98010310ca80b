#!/usr/bin/env bash
# Runs a Windows program under Wine with the Japanese ANSI code page (932),
# in a Wine prefix of the build's own: 32-bit Wine, or 64-bit Wine where the
# machine cannot run 32-bit processes (scripts/wine-arch.sh).
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-arch.sh"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
exec "$OMBRELO_WINE" "$@"
