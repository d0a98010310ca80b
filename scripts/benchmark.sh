#!/usr/bin/env bash
# Prints the program's footprint for the current build: exe size and the
# DLLs it imports, start-up time against a minimal one-window program (both
# under Wine in the same run, median of several), and CPU time and peak
# working set over a stretch of counting.
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
cmake --build --preset "$OMBRELO_PRESET" --target ombrelo minimal_window probe fake_viewer >/dev/null

bench=build/bench
rm -rf "$bench" && mkdir -p "$bench"
cp "$OMBRELO_BUILD"/{ombrelo,minimal_window,probe,fake_viewer}.exe "$bench/"
wine() { "$OMBRELO_WINE" "$@"; }

export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
viewer=$(wine winepath.exe -w "$PWD/$bench/fake_viewer.exe" 2>/dev/null | tr -d '\r')
font=$(printf '\x82l\x82r \x82o\x83S\x83V\x83b\x83N')
printf '"C:\\talk.ppt"\r\n"%s"\r\n"%s"\r\n9.75\r\n65280\r\n0\r\n#FALSE#\r\n#TRUE#\r\n' \
  "$viewer" "$font" >"$bench/ombrelo.ini"

wine "$bench/probe.exe" startup 1 >/dev/null 2>&1 || true  # warm the Wine server and caches
startup=$(wine "$bench/probe.exe" startup "$runs" | tr -d '\r')
# Counting: the probe starts the count and keeps it going; CPU time and peak
# resident memory come from Linux's view of the Wine process.
log=$bench/counting.log
wine "$bench/probe.exe" counting "$seconds" >"$log" 2>&1 &
probe=$!
for _ in $(seq 600); do grep -q counting "$log" && break; sleep 0.1; done
pid=$(pgrep -x ombrelo.exe | head -1)
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
t0=$(ticks "$pid"); s0=$(date +%s.%N)
sleep "$seconds"
t1=$(ticks "$pid"); s1=$(date +%s.%N)
peak_kb=$(awk '/VmHWM/ { print $2 }' "/proc/$pid/status")
wait "$probe" || true
cpu_ms=$(awk -v a="$t0" -v b="$t1" -v hz="$hz" 'BEGIN { printf "%.0f", (b - a) * 1000 / hz }')
cpu_pct=$(awk -v c="$cpu_ms" -v s0="$s0" -v s1="$s1" 'BEGIN { printf "%.3f", c / ((s1 - s0) * 10) }')
counting="$(tr -d '\r' <"$log")
cpu_ms $cpu_ms
cpu_percent $cpu_pct
peak_working_set_kb $peak_kb"
val() { printf '%s\n' "$1" | awk -v k="$2" '$1 == k { print $2 }'; }

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
| CPU time over ${seconds} s of counting | $(val "$counting" cpu_ms) ms ($(val "$counting" cpu_percent) % of one core) | well under 0.1 % |
| peak working set | $(val "$counting" peak_working_set_kb) KB | |
TABLE
echo "display after counting: $(val "$counting" display)"
