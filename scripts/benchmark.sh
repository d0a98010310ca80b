#!/usr/bin/env bash
# Prints the program's footprint for the current build: exe size and the
# DLLs it imports, start-up time against a minimal one-window program (both
# under Wine in the same run, median of several), CPU time and peak working
# set over a stretch of counting against a counting floor (the least a
# display does), and the same while fighting a self-raising slide show and
# beside a second copy.
#   RUNS=9 COUNT_SECONDS=60 bash scripts/benchmark.sh
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-9}
seconds=${COUNT_SECONDS:-60}

bash scripts/deps.sh
# Timings under emulation are not the program's: inside the test command's
# qemu namespace, as on a machine without 32-bit processes, the build that
# runs natively here (x86_64) is measured.
[ -n "${OMBRELO_I386_NS:-}" ] && export OMBRELO_PRESET=windows64
source scripts/wine-env.sh
cmake --preset "$OMBRELO_PRESET" >/dev/null
cmake --build --preset "$OMBRELO_PRESET" --target ombrelo minimal_window floor probe fake_viewer >/dev/null

bench=build/bench
rm -rf "$bench" && mkdir -p "$bench/pair"
cp "$OMBRELO_BUILD"/{ombrelo,minimal_window,floor,probe,fake_viewer}.exe "$bench/"
cp "$OMBRELO_BUILD/ombrelo.exe" "$bench/pair/"
wine() { "$OMBRELO_WINE" "$@"; }

export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
viewer=$(wine winepath.exe -w "$PWD/$bench/fake_viewer.exe" 2>/dev/null | tr -d '\r')
font=$(printf '\x82l\x82r \x82o\x83S\x83V\x83b\x83N')
printf '"C:\\talk.ppt"\r\n"%s"\r\n"%s"\r\n9.75\r\n65280\r\n0\r\n#FALSE#\r\n#TRUE#\r\n' \
  "$viewer" "$font" >"$bench/ombrelo.ini"
cp "$bench/ombrelo.ini" "$bench/pair/"

wine "$bench/probe.exe" startup 1 >/dev/null 2>&1 || true  # warm the Wine server and caches
startup=$(wine "$bench/probe.exe" startup "$runs" | tr -d '\r')
# A scene: the probe sets it up and keeps it going; CPU time (ms) of each
# named process and the program's peak resident memory come from Linux's
# view of the Wine processes meanwhile. Prints the probe's lines, then
# "cpu_ms_<name> <ms>" for each process of that name, in start order.
hz=$(getconf CLK_TCK)
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
scene() {
  local mode=$1 log=$bench/$1.log pids=() t0=() p i
  shift
  wine "$bench/probe.exe" "$mode" "$seconds" >"$log" 2>&1 &
  local probe=$!
  for _ in $(seq 600); do grep -q counting "$log" && break; sleep 0.1; done
  for name in "$@"; do for p in $(pgrep -x "$name"); do pids+=("$name:$p"); done; done
  for p in "${pids[@]}"; do t0+=("$(ticks "${p#*:}")"); done
  sleep "$seconds"
  for i in "${!pids[@]}"; do
    p=${pids[$i]}
    echo "cpu_ms_${p%%:*} $(( ($(ticks "${p#*:}") - ${t0[$i]}) * 1000 / hz ))"
    [ "${p%%:*}" = ombrelo.exe ] && echo "peak_working_set_kb $(awk '/VmHWM/ { print $2 }' "/proc/${p#*:}/status")"
  done
  wait "$probe" || true
  tr -d '\r' <"$log"
}
counting=$(scene counting ombrelo.exe)
floor=$(scene floor floor.exe)
raising=$(scene raising ombrelo.exe fake_viewer.exe)
pair=$(scene pair ombrelo.exe)
val() { printf '%s\n' "$1" | awk -v k="$2" '$1 == k { print $2; exit }'; }
vals() { printf '%s\n' "$1" | awk -v k="$2" '$1 == k { printf "%s%s", sep, $2; sep = " and " }'; }
pct() { awk -v c="$1" -v s="$seconds" 'BEGIN { printf "%.3f", c / (s * 10) }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf (b > 0 ? "%.2f" : "n/a"), a / b }'; }
cpu=$(val "$counting" cpu_ms_ombrelo.exe) floor_cpu=$(val "$floor" cpu_ms_floor.exe)

size=$(stat -c %s "$OMBRELO_BUILD/ombrelo.exe")
dlls=$(objdump -p "$OMBRELO_BUILD/ombrelo.exe" | awk '/DLL Name:/ { print $3 }' |
  tr '\n' ' ')

echo "build measured: $OMBRELO_PRESET, run natively ($(ombrelo_tested "$OMBRELO_BUILD/ombrelo.exe" | cut -d' ' -f2-))"
cat <<TABLE
| measure | value | target |
|---|---|---|
| exe size (stripped) | $((size / 1024)) KB ($size bytes) | under 512 KB |
| imported DLLs | $dlls| Windows' own only |
| start-up to settings window (median of $runs) | $(val "$startup" startup_ms) ms | |
| minimal one-window program (median of $runs) | $(val "$startup" minimal_ms) ms | |
| start-up ratio | $(val "$startup" ratio) | within 1.3 |
| CPU time over ${seconds} s of counting | $cpu ms ($(pct "$cpu") % of one core) | |
| counting floor (popup, 500 ms timer, text and repaint each second, idle edit box) | $floor_cpu ms ($(pct "$floor_cpu") %) | |
| counting ratio to the floor | $(ratio "$cpu" "$floor_cpu") | 1.5 or below |
| peak working set | $(val "$counting" peak_working_set_kb) KB | |
| above a show raising itself every 200 ms: samples on top | $(val "$raising" on_top_percent) % | 95 % or more |
| CPU while fighting it: program, show | $(val "$raising" cpu_ms_ombrelo.exe) ms ($(pct "$(val "$raising" cpu_ms_ombrelo.exe)") %), $(val "$raising" cpu_ms_fake_viewer.exe) ms | program 2 % or below |
| two copies counting: places swapped, last swap | $(val "$pair" swaps) times, at $(val "$pair" last_swap_s) s | settled within 2 s |
| two copies counting: CPU of each | $(vals "$pair" cpu_ms_ombrelo.exe) ms (alone: $cpu ms) | within 1.5 × alone |
TABLE
echo "display after counting: $(val "$counting" display)"
