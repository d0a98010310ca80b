#!/usr/bin/env bash
# Prints the program's footprint for the current build: exe size and the
# DLLs it imports, start-up time against the start-up floor (the same window
# and display and nothing else; both under Wine, interleaved, median of
# RUNS with the least and the most), CPU time and peak working
# set over a stretch of counting against a counting floor (the least a
# display does), and the same while fighting a self-raising slide show and
# beside a second copy.
#
# CPU time is each thread's run time as Linux keeps it, in nanoseconds
# (/proc/PID/task/*/schedstat), summed over the Wine process, for exactly
# the processes this run started (in a Wine prefix of its own); the Wine
# server's share while the scene runs is given beside it. Each scene runs
# REPEATS times: the median, and the spread from the least to the most. A
# scene whose process ended early, or an impossible figure, stops the
# benchmark with a message instead of a number.
#   RUNS=61 REPEATS=3 COUNT_SECONDS=60 bash scripts/benchmark.sh
# OMBRELO_BENCH_EXE=path/to/ombrelo.exe measures that exe instead (an
# earlier build, for a figure before a change), with this build's floors.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-61}
repeats=${REPEATS:-3}
seconds=${COUNT_SECONDS:-60}

bash scripts/deps.sh
# Timings under emulation are not the program's: inside the test command's
# qemu namespace, as on a machine without 32-bit processes, the build that
# runs natively here (x86_64) is measured.
[ -n "${OMBRELO_I386_NS:-}" ] && export OMBRELO_PRESET=windows64
source scripts/wine-arch.sh
cmake --preset "$OMBRELO_PRESET" >/dev/null
cmake --build --preset "$OMBRELO_PRESET" --target ombrelo startup_floor floor probe fake_viewer >/dev/null
# The exe users get, where it runs; the helpers from the test build.
app=$OMBRELO_BUILD/ombrelo.exe
if [ "$OMBRELO_PRESET" = windows ]; then
  cmake --preset release >/dev/null && cmake --build --preset release >/dev/null
  app=build/release/ombrelo.exe
fi
app=${OMBRELO_BENCH_EXE:-$app}

# Everything measured runs on one CPU: Xvfb, the Wine server, the probe and
# the programs. Spread over two virtual CPUs, each message to the Wine
# server may wait for the other CPU to wake, and one start-up took anything
# from 55 to 190 ms; on one CPU four in five take under 70 ms, and what is
# left to compare is the programs' own work.
taskset -pc 0 $$ >/dev/null
export WINEPREFIX=$WINEPREFIX-bench  # its processes are this run's alone
source scripts/wine-env.sh

bench=build/bench
rm -rf "$bench" && mkdir -p "$bench/pair"
cp "$OMBRELO_BUILD"/{startup_floor,floor,probe,fake_viewer}.exe "$bench/"
cp "$app" "$bench/ombrelo.exe"
cp "$app" "$bench/pair/ombrelo.exe"
wine() { "$OMBRELO_WINE" "$@"; }

export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
viewer=$(wine winepath.exe -w "$PWD/$bench/fake_viewer.exe" 2>/dev/null | tr -d '\r')
font=$(printf '\x82l\x82r \x82o\x83S\x83V\x83b\x83N')
printf '"C:\\talk.ppt"\r\n"%s"\r\n"%s"\r\n9.75\r\n65280\r\n0\r\n#FALSE#\r\n#TRUE#\r\n' \
  "$viewer" "$font" >"$bench/ombrelo.ini"
cp "$bench/ombrelo.ini" "$bench/pair/"

wine "$bench/probe.exe" startup 1 >/dev/null 2>&1 || true  # warm the Wine server and caches
startup=$(wine "$bench/probe.exe" startup "$runs" | tr -d '\r')
die() {
  echo "benchmark: $*" >&2
  exit 1
}
# This run's processes whose name matches: those in its own Wine prefix.
ours() {
  local p
  for p in $(pgrep "$1"); do
    tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$p"
  done
}
# Run time of all of a process's threads, in nanoseconds.
run_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s }'; }
started_at() { awk '{ print $22 }' "/proc/$1/stat" 2>/dev/null; }
# Whether the process that started then still runs: an ended one stays in
# /proc as a zombie, with its start but without its memory figures.
runs() { [ "$(started_at "$1")" = "$2" ] && [ "$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null)" != Z ]; }

# A scene: the probe sets it up and keeps it going for $seconds; meanwhile
# Linux's view of the named processes gives their CPU time. Prints the
# probe's lines, then "cpu_ns_<name>_<n> <ns>" for the n-th process of each
# name (in start order), "cpu_ns_wineserver <ns>" and the program's (or
# the floor's) "peak_working_set_kb".
scene() {
  local mode=$1 log=$bench/$1.log pids=() t0=() since=() p i ns kb
  shift
  # The probe keeps the scene going a little past the measurement, so that
  # every figure is read while the programs still run: the probe ends the
  # scene at once, and Wine 10 closes a program quickly enough that one
  # read after it would find a process that has ended.
  wine "$bench/probe.exe" "$mode" "$((seconds + 3))" >"$log" 2>&1 &
  local probe=$!
  for _ in $(seq 600); do grep -q counting "$log" && break; sleep 0.1; done
  grep -q counting "$log" || die "$mode: the scene did not start ($(tr -d '\r' <"$log"))"
  for name in "$@"; do
    i=0
    for p in $(ours "^${name//./\\.}\$"); do pids+=("${name}_$((i += 1)):$p"); done
    [ "$i" -gt 0 ] || die "$mode: no $name of this run"
  done
  for p in "${pids[@]}"; do
    t0+=("$(run_ns "${p#*:}")")
    since+=("$(started_at "${p#*:}")")
  done
  local server server0
  server=$(ours '^wineserver' | head -1)  # wineserver, or wineserver32/64
  [ -n "$server" ] || die "$mode: no Wine server for $WINEPREFIX"
  since+=("$(started_at "$server")")
  server0=$(run_ns "$server")
  sleep "$seconds"
  for i in "${!pids[@]}"; do
    p=${pids[$i]}
    runs "${p#*:}" "${since[$i]}" || die "$mode: ${p%%:*} (pid ${p#*:}) ended before the scene did"
    ns=$(($(run_ns "${p#*:}") - ${t0[$i]}))
    [ "$ns" -gt 0 ] || die "$mode: ${p%%:*} took $ns ns of CPU, which cannot be"
    echo "cpu_ns_${p%%:*} $ns"
    case ${p%%:*} in ombrelo.exe_1 | floor.exe_1)
      kb=$(awk '/^VmHWM:/ { print $2 }' "/proc/${p#*:}/status")
      [ "${kb:-0}" -gt 0 ] || die "$mode: cannot read the peak working set of ${p%%:*}"
      echo "peak_working_set_kb $kb" ;;
    esac
  done
  [ "$(started_at "$server")" = "${since[-1]}" ] || die "$mode: the Wine server ended during the scene"
  echo "cpu_ns_wineserver $(($(run_ns "$server") - server0))"
  wait "$probe" || true
  tr -d '\r' <"$log"
}
# Each scene REPEATS times, interleaved so that a slow spell of the machine
# falls on all of them alike.
all=""
for r in $(seq "$repeats"); do
  all+=$(scene counting ombrelo.exe | sed 's/^/counting /')$'\n'
  all+=$(scene floor floor.exe | sed 's/^/floor /')$'\n'
  all+=$(scene raising ombrelo.exe fake_viewer.exe | sed 's/^/raising /')$'\n'
  all+=$(scene pair ombrelo.exe | sed 's/^/pair /')$'\n'
done
# The median of a scene's figure over the repeats, and its spread.
med() { printf '%s\n' "$all" | awk -v s="$1" -v k="$2" '$1 == s && $2 == k { print $3 }' | sort -g |
  awk '{ v[NR] = $1 } END { if (NR) printf "%.12g\n", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
spread() { printf '%s\n' "$all" | awk -v s="$1" -v k="$2" '$1 == s && $2 == k { print $3 }' | sort -g |
  awk 'NR == 1 { lo = $1 } { hi = $1 } END { if (NR) printf "%s to %s", lo, hi }'; }
ms() { awk -v n="$1" 'BEGIN { printf "%.2f ms", n / 1e6 }'; }
ms_spread() { printf '%s\n' "$1" | awk '{ printf "%.2f to %.2f ms", $1 / 1e6, $3 / 1e6 }'; }
pct() { awk -v n="$1" -v s="$seconds" 'BEGIN { printf "%.4f %%", n / (s * 1e7) }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) exit 1; printf "%.3f", a / b }' || die "ratio of $1 to $2"; }
cpu_line() { echo "$(ms "$(med "$1" "$2")") ($(pct "$(med "$1" "$2")")), $(ms_spread "$(spread "$1" "$2")")"; }
cpu=$(med counting cpu_ns_ombrelo.exe_1) floor_cpu=$(med floor cpu_ns_floor.exe_1)
[ -n "$cpu" ] && [ -n "$floor_cpu" ] || die "a scene gave no CPU figure"
val() { printf '%s\n' "$all" | awk -v s="$1" -v k="$2" '$1 == s && $2 == k { v = $3 } END { print v }'; }

size=$(stat -c %s "$app")
dlls=$(objdump -p "$app" | awk '/DLL Name:/ { print $3 }' |
  tr '\n' ' ')

echo "exe measured: $app, run natively ($(ombrelo_tested "$app" | cut -d' ' -f2-))"
cat <<TABLE
| measure | value | target |
|---|---|---|
| exe size (stripped) | $((size / 1024)) KB ($size bytes) | 192 KB or below |
| imported DLLs | $dlls| Windows' own only |
| start-up to settings window shown and answering (median of $runs; least to most) | $(printf '%s\n' "$startup" | awk '$1 == "startup_ms" { print $2 " ms, " $3 " to " $4 " ms" }') | |
| start-up floor: the same window and display, nothing else | $(printf '%s\n' "$startup" | awk '$1 == "floor_ms" { print $2 " ms, " $3 " to " $4 " ms" }') | |
| start-up ratio to the floor (medians) | $(printf '%s\n' "$startup" | awk '$1 == "ratio" { print $2 }') | 1.05 or below |
| CPU over ${seconds} s of counting (median of $repeats; spread) | $(cpu_line counting cpu_ns_ombrelo.exe_1) | |
| Wine server meanwhile | $(cpu_line counting cpu_ns_wineserver) | |
| counting floor (popup, 500 ms timer, text in the same face and size and repaint each second, idle edit box) | $(cpu_line floor cpu_ns_floor.exe_1) | |
| Wine server meanwhile | $(cpu_line floor cpu_ns_wineserver) | |
| counting ratio to the floor (medians) | $(ratio "$cpu" "$floor_cpu") | 1.2 or below |
| peak working set (counting; the counting floor's) | $(med counting peak_working_set_kb) KB ($(med floor peak_working_set_kb) KB) | |
| above a show raising itself every 200 ms: samples on top (median) | $(med raising on_top_percent) % | 95 % or more |
| CPU while fighting it: program | $(cpu_line raising cpu_ns_ombrelo.exe_1) | program 2 % or below |
| CPU while fighting it: the show | $(cpu_line raising cpu_ns_fake_viewer.exe_1) | |
| two copies counting: places swapped, last swap | $(val pair swaps) times, at $(val pair last_swap_s) s | settled within 2 s |
| two copies counting: CPU of each | $(cpu_line pair cpu_ns_ombrelo.exe_1); $(cpu_line pair cpu_ns_ombrelo.exe_2) | within 1.5 × alone |
TABLE
echo "display after counting: $(val counting display)"
