#!/usr/bin/env bash
# Runs a Windows program under 32-bit Wine with the Japanese ANSI code page
# (932), in a Wine prefix of the build's own.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
exec wine "$@"
