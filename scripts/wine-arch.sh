# Sourced: chooses the Windows build that this machine can test. 32-bit Wine
# needs 32-bit processes: natively, or under qemu inside the test command's
# namespace (i386-route.sh). Where neither is to be had the same sources are
# built for x86_64 and tested under 64-bit Wine instead. Sets OMBRELO_PRESET,
# OMBRELO_WINE, WINEARCH and WINEPREFIX.
ombrelo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ -z "${OMBRELO_PRESET:-}" ]; then
  if /lib/ld-linux.so.2 --version >/dev/null 2>&1 || [ ! -x /usr/lib/wine/wine64 ]; then
    OMBRELO_PRESET=windows
  else
    OMBRELO_PRESET=windows64
  fi
fi
if [ "$OMBRELO_PRESET" = windows ]; then
  OMBRELO_WINE=/usr/lib/wine/wine WINEARCH=win32
  export WINEPREFIX=${WINEPREFIX:-$ombrelo_root/build/wineprefix}
else
  OMBRELO_WINE=/usr/lib/wine/wine64 WINEARCH=win64
  export WINEPREFIX=${WINEPREFIX:-$ombrelo_root/build/wineprefix64}
  export WINELOADER=$OMBRELO_WINE
fi
export OMBRELO_PRESET OMBRELO_WINE WINEARCH
OMBRELO_BUILD=$ombrelo_root/build/$OMBRELO_PRESET

# One line naming the binary a suite's results are about.
ombrelo_tested() {
  local arch
  arch=$(LC_ALL=C objdump -f "$1" | sed -n 's/.*file format pei-//p')
  echo "tested: $1 (PE $arch, sha256 $(sha256sum "$1" | cut -d' ' -f1))"
}
