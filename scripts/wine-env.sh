# Sourced by the run and test scripts after wine-arch.sh, which chose the
# Windows build to test, its Wine and its prefix: starts a private Xvfb
# display (unless one is given in OMBRELO_DISPLAY) and readies the prefix.
# Everything it starts is stopped when the sourcing shell exits.

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

ombrelo_xvfb_pid=
ombrelo_cleanup() {
  WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null || true
  [ -n "$ombrelo_xvfb_pid" ] && kill "$ombrelo_xvfb_pid" 2>/dev/null || true
}
trap ombrelo_cleanup EXIT

if [ -n "${OMBRELO_DISPLAY:-}" ]; then
  export DISPLAY=$OMBRELO_DISPLAY
else
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  ombrelo_xvfb_pid=$!
  read -r -t 30 num <"$fifo" || { echo "Xvfb did not start" >&2; exit 1; }
  rm -f "$fifo"
  export DISPLAY=:$num
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine: preparing the prefix $WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"  # Wine makes the prefix, not its parent (build/ in a fresh clone)
fi
LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 "$OMBRELO_WINE" wineboot.exe -i >/dev/null 2>&1
