#!/usr/bin/env bash
# Runs every test: the Linux build's suite (with ASan and UBSan), a bounded
# fuzz run of the settings reader, and the Windows build's suite under Wine
# with the Japanese code page. Installs what is missing first.
set -euo pipefail
self=$(readlink -f "$0")
cd "$(dirname "$self")/.."

bash scripts/deps.sh
# The packages' seconds outlive the re-entry under qemu (i386-route.sh).
export OMBRELO_PACKAGE_SECONDS=${OMBRELO_PACKAGE_SECONDS:-$SECONDS}
source scripts/i386-route.sh "$self" "$@"
# Each stage's heading says how long the command has run so far; at the
# end, one line per stage gives its seconds, the failed one's included.
stages=("packages: $OMBRELO_PACKAGE_SECONDS s") stage_name= stage_start=0
stage_end() {
  [ -z "$stage_name" ] || stages+=("$stage_name: $((SECONDS - stage_start)) s")
  stage_name=
}
stage() {
  stage_end
  stage_name=$* stage_start=$SECONDS
  echo "== $* (at $((SECONDS / 60)) m $((SECONDS % 60)) s)"
}
summary() {
  local status=$1
  ! declare -F ombrelo_cleanup >/dev/null || ombrelo_cleanup  # Wine's and Xvfb's, once started
  [ -z "$stage_name" ] || stage_name="$stage_name (FAILED)"
  stage_end
  printf 'stage: %s\n' "${stages[@]}"
  exit $status
}
trap 'summary $?' EXIT

stage "format and layers"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
bash scripts/check-layers.sh
# The check itself: each of these spellings once passed it.
layers=$(mktemp -d)
for bad in 'settings/a.cpp #include "../ui/views.h"' 'settings/a.cpp #include  "ui/views.h"' \
  'ui/a.cpp #  include "platform/win32/handles.h"'; do
  mkdir -p "$layers/src/$(dirname "${bad%% *}")"
  echo "${bad#* }" >"$layers/src/${bad%% *}"
  ! LAYERS_ROOT=$layers bash scripts/check-layers.sh "src/${bad%% *}" 2>/dev/null ||
    { echo "layers: the check passed ${bad#* } in src/${bad%% *}" >&2; exit 1; }
done
rm -rf "$layers"

stage "native"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

stage "fuzz (settings reader)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz/corpus
./build/fuzz/settings_fuzz -max_total_time="${OMBRELO_FUZZ_SECONDS:-30}" -max_len=4096 \
  -print_final_stats=0 build/fuzz/corpus tests/fuzz/corpus 2>build/fuzz/last-run.log ||
  { tail -50 build/fuzz/last-run.log; exit 1; }
tail -1 build/fuzz/last-run.log

source scripts/wine-arch.sh
source scripts/wine-env.sh
trap 'summary $?' EXIT
echo "system: $(. /etc/os-release && echo "$PRETTY_NAME") $(cat /etc/debian_version), $("$OMBRELO_WINE" --version)"
if [ "$OMBRELO_PRESET" != windows ]; then
  # The users' 32-bit program still has to build cleanly here.
  stage "windows i686 (build only: no 32-bit route on this machine)"
  cmake --preset windows >/dev/null
  cmake --build --preset windows
fi
stage "$OMBRELO_PRESET (under Wine $WINEARCH, code page 932)"
cmake --preset "$OMBRELO_PRESET" >/dev/null
cmake --build --preset "$OMBRELO_PRESET"
# The unit suite here; the end-to-end suite once, on the exe users get
# (the release check, below).
ctest --preset "$OMBRELO_PRESET" -E '^e2e_tests'
ombrelo_tested "$OMBRELO_BUILD/tests/core_tests.exe"

stage "release (reproducible bytes, clean PE, signing)"
bash tests/release/check.sh

# The end-to-end scenarios leave screenshots as BMP; keep PNG copies.
for bmp in "$OMBRELO_BUILD"/screenshots/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
ls "$OMBRELO_BUILD"/screenshots/*.png 2>/dev/null | sed 's/^/screenshot: /'
stage_end
