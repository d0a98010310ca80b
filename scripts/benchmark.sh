#!/usr/bin/env bash
# Prints the program's footprint for the current build: exe size and the
# DLLs it imports, start-up time against the start-up floor (the same window
# and display and nothing else; both under Wine, interleaved, median of
# RUNS with the least and the most), CPU time and peak working
# set over a stretch of counting against a counting floor (the least a
# display does), the system calls a second while counting, and the same
# while fighting a self-raising slide show and beside a second copy.
#
# CPU time is each thread's run time as Linux keeps it, in nanoseconds
# (/proc/PID/task/*/schedstat), summed over the Wine process, for exactly
# the processes this run started (in a Wine prefix of its own); the Wine
# server's share while the scene runs is given beside it. Each scene runs
# REPEATS times: the median, and the spread from the least to the most. A
# scene whose process ended early, or a figure that cannot be read or cannot
# be, stops the benchmark with a message before anything is printed.
#
# System calls a second (strace -c on every thread of the process, through
# one more stretch of counting, not timed) are the figure a busy machine
# cannot move: a change that adds work each second shows there even when the
# CPU times are lost in noise.
#
# Too busy to compare: CPU times on a shared machine can grow several times
# over, the floor's with them, and a ratio of two inflated figures then
# looks like a result. So the ratios are printed only while the machine
# looked quiet by the floor's own figures; otherwise they read "too busy to
# compare", with the reason, and no entry of docs/benchmarks.md is written
# from such a run. The machine counts as busy when
# - the counting floor's median is more than 15 % above its least: one slow
#   scene among five leaves the median where it was, a slow spell does not;
# - the counting floor costs more than 30 µs of CPU per system call: quiet
#   machines here give 5 to 12 µs (native i686 to x86_64), the busy one of
#   2026-12-09 (evening) about 100;
# - more than 5 % of CPU 0's time was stolen by the hypervisor meanwhile.
#
#   RUNS=61 REPEATS=5 COUNT_SECONDS=20 bash scripts/benchmark.sh
# OMBRELO_BENCH_EXE=path/to/ombrelo.exe measures that exe instead of this
# build's. OMBRELO_BENCH_BASE=path/to/old.exe measures that one too, in the
# same run, each of its scenes right after this one's and the floor's: both
# columns, and this exe's figures as a ratio of the old one's.
set -euo pipefail
shopt -s inherit_errexit  # a figure that cannot be read stops the script, also inside $(...)
cd "$(dirname "$0")/.."
runs=${RUNS:-61}
repeats=${REPEATS:-5}
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
base=${OMBRELO_BENCH_BASE:-}
die() {
  echo "benchmark: $*" >&2
  exit 1
}
[ -f "$app" ] || die "no exe at $app"
[ -z "$base" ] || [ -f "$base" ] || die "OMBRELO_BENCH_BASE: no exe at $base"

# Everything measured runs on one CPU: Xvfb, the Wine server, the probe and
# the programs. Spread over two virtual CPUs, each message to the Wine
# server may wait for the other CPU to wake, and one start-up took anything
# from 55 to 190 ms; on one CPU four in five take under 70 ms, and what is
# left to compare is the programs' own work.
taskset -pc 0 $$ >/dev/null
export WINEPREFIX=$WINEPREFIX-bench  # its processes are this run's alone
source scripts/wine-env.sh

bench=build/bench
rm -rf "$bench" && mkdir -p "$bench/pair" "$bench/base/pair"
cp "$OMBRELO_BUILD"/{startup_floor,floor,probe,fake_viewer}.exe "$bench/"
# Each copy of a program in a folder of its own (under $bench), with the
# same settings.
copies=(. pair)
[ -z "$base" ] || copies+=(base base/pair)
for d in "${copies[@]}"; do
  case $d in base*) cp "$base" "$bench/$d/ombrelo.exe" ;; *) cp "$app" "$bench/$d/ombrelo.exe" ;; esac
done
wine() { "$OMBRELO_WINE" "$@"; }

export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
# The settings every scene starts with, written as the program saves them.
wine "$bench/probe.exe" settings "${copies[@]//\//\\}" >/dev/null 2>&1 ||
  die "the probe could not write the settings in ${copies[*]}"

# The old exe's folder, relative to the probe's, for the probe's scenes.
base_arg=()
[ -z "$base" ] || base_arg=(base)
steal() { awk '$1 == "cpu0" { print $9; exit }' /proc/stat; }
total() { awk '$1 == "cpu0" { for (i = 2; i <= 9; i++) t += $i; print t; exit }' /proc/stat; }
steal0=$(steal) total0=$(total)
wine "$bench/probe.exe" startup 1 >/dev/null 2>&1 || true  # warm the Wine server and caches
startup=$(wine "$bench/probe.exe" startup "$runs" "${base_arg[@]}" | tr -d '\r')
# This run's processes whose name matches: those in its own Wine prefix.
ours() {
  local p
  for p in $(pgrep "$1"); do
    { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$p"
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
# the floor's) "peak_working_set_kb". With scene_folder set (base), the
# probe runs the old exe.
scene_folder=""
# The last scene's programs gone first: a self-raising show outlives its
# probe by seconds, and would be measured with the next scene, or as its.
settle() {
  for _ in $(seq 300); do
    [ -z "$(ours '^(ombrelo|floor|fake_viewer)\.exe$')" ] && return
    sleep 0.1
  done
  die "programs of the last scene still run: $(ours '^(ombrelo|floor|fake_viewer)\.exe$' | tr '\n' ' ')"
}
# Waits up to 60 s for the probe to say its scene began; a probe that ended
# without has said why in its log.
begun() {
  for _ in $(seq 600); do
    grep -q counting "$3" && return
    kill -0 "$2" 2>/dev/null || break
    sleep 0.1
  done
  grep -q counting "$3" || die "$1: the scene did not start ($(tr -d '\r' <"$3"))"
}
scene() {
  local mode=$1 log=$bench/$1.log pids=() t0=() since=() p i ns kb
  shift
  settle
  # The probe keeps the scene going a little past the measurement, so that
  # every figure is read while the programs still run: the probe ends the
  # scene at once, and Wine 10 closes a program quickly enough that one
  # read after it would find a process that has ended.
  wine "$bench/probe.exe" "$mode" "$((seconds + 3))" $scene_folder >"$log" 2>&1 &
  local probe=$!
  begun "$mode" $probe "$log"
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
# The system calls a second of the named process through a scene: strace on
# each of its threads for $seconds (a traced process is slower, so this
# stretch is not timed).
syscalls() {
  local mode=$1 name=$2 log=$bench/$1-traced.log out=$bench/$1-strace.txt p tids=() t0 t1
  settle
  wine "$bench/probe.exe" "$mode" "$((seconds + 3))" $scene_folder >"$log" 2>&1 &
  local probe=$!
  begun "$mode (traced)" $probe "$log"
  p=$(ours "^${name//./\\.}\$" | head -1)
  [ -n "$p" ] || die "$mode (traced): no $name of this run"
  for t in /proc/"$p"/task/*; do tids+=(-p "${t##*/}"); done
  t0=$(date +%s%N)
  timeout -s INT "$seconds" strace -f -c -o "$out" "${tids[@]}" 2>/dev/null || true
  t1=$(date +%s%N)
  wait "$probe" || true
  awk -v ns=$((t1 - t0)) '$NF == "total" { n += $4 } END { if (n > 0) printf "%.1f\n", n / (ns / 1e9) }' \
    "$out" 2>/dev/null | grep . || die "$mode (traced): strace counted no system calls of $name"
}
# Each scene REPEATS times, interleaved so that a slow spell of the machine
# falls on all of them alike; the old exe's right after this one's.
all=""
take() {
  local label=$1
  shift
  all+=$(scene "$@" | sed "s/^/$label /")$'\n'
}
for r in $(seq "$repeats"); do
  for mode in counting floor raising pair; do
    case $mode in
      floor) names=(floor.exe) ;;
      raising) names=(ombrelo.exe fake_viewer.exe) ;;
      *) names=(ombrelo.exe) ;;
    esac
    take "$mode" "$mode" "${names[@]}"
    if [ -n "$base" ] && [ "$mode" != floor ]; then
      scene_folder=base take "base_$mode" "$mode" "${names[@]}"
    fi
  done
done
calls=$(syscalls counting ombrelo.exe)
floor_calls=$(syscalls floor floor.exe)
base_calls=""
[ -z "$base" ] || base_calls=$(scene_folder=base syscalls counting ombrelo.exe)
stolen=$(awk -v s="$(($(steal) - steal0))" -v t="$(($(total) - total0))" \
  'BEGIN { if (t <= 0) exit 1; printf "%.1f", 100 * s / t }') || die "cannot read CPU 0's time"

# The median of a scene's figure over the repeats, and its spread; each
# stops the benchmark when the scenes gave no such figure.
figures() { printf '%s\n' "$all" | awk -v s="$1" -v k="$2" '$1 == s && $2 == k { print $3 }' | sort -g; }
med() {
  figures "$1" "$2" | awk '{ v[NR] = $1 } END {
    if (NR) printf "%.12g\n", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }' | grep . ||
    die "no figure $2 in the $1 scenes"
}
least() { figures "$1" "$2" | head -1 | grep . || die "no figure $2 in the $1 scenes"; }
most() { figures "$1" "$2" | tail -1 | grep . || die "no figure $2 in the $1 scenes"; }
ms() { awk -v n="$1" 'BEGIN { printf "%.2f ms", n / 1e6 }'; }
pct() { awk -v n="$1" -v s="$seconds" 'BEGIN { printf "%.4f %%", n / (s * 1e7) }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) exit 1; printf "%.3f", a / b }' || die "ratio of $1 to $2"; }
cpu() {
  local m lo hi
  m=$(med "$1" "$2")
  lo=$(least "$1" "$2")
  hi=$(most "$1" "$2")
  echo "$(ms "$m") ($(pct "$m")), $(ms "$lo") to $(ms "$hi")"
}
val() {
  printf '%s\n' "$all" | awk -v s="$1" -v k="$2" '$1 == s && $2 == k { v = $3 } END { print v }' |
    grep . || die "no figure $2 in the $1 scenes"
}
startup_figure() {
  printf '%s\n' "$startup" | awk -v k="$1" -v f="$2" '$1 == k { print $f }' | grep . ||
    die "start-up gave no $1 ($(printf '%s' "$startup" | tr '\n' ' '))"
}

# Whether the machine was quiet enough to compare (the header gives why).
floor_cpu=$(med floor cpu_ns_floor.exe_1)
busy=()
awk -v m="$floor_cpu" -v l="$(least floor cpu_ns_floor.exe_1)" 'BEGIN { exit !(m > 1.15 * l) }' &&
  busy+=("the counting floor's median is over 15 % above its least")
per_call=$(awk -v n="$floor_cpu" -v s="$seconds" -v c="$floor_calls" 'BEGIN { printf "%.1f", n / s / c / 1e3 }')
awk -v u="$per_call" 'BEGIN { exit !(u > 30) }' &&
  busy+=("the counting floor took $per_call µs of CPU per system call")
awk -v p="$stolen" 'BEGIN { exit !(p > 5) }' && busy+=("$stolen % of CPU 0 was stolen")
compare() {  # the ratio of two figures, or why it means nothing here
  if [ ${#busy[@]} -gt 0 ]; then
    local reasons
    reasons=$(printf '; %s' "${busy[@]}")
    echo "too busy to compare (${reasons#; })"
  else
    ratio "$1" "$2"
  fi
}

# Every figure read before anything is printed: one that cannot be read
# stops the benchmark here.
# The copies measured, which a build meanwhile does not change.
size=$(stat -c %s "$bench/ombrelo.exe")
dlls=$(objdump -p "$bench/ombrelo.exe" | awk '/DLL Name:/ { print $3 }' | tr '\n' ' ')
start_line="$(startup_figure startup_ms 2) ms, $(startup_figure startup_ms 3) to $(startup_figure startup_ms 4) ms"
floor_start_line="$(startup_figure floor_ms 2) ms, $(startup_figure floor_ms 3) to $(startup_figure floor_ms 4) ms"
start_ratio=$(compare "$(startup_figure startup_ms 2)" "$(startup_figure floor_ms 2)")
count_cpu=$(cpu counting cpu_ns_ombrelo.exe_1)
count_server=$(cpu counting cpu_ns_wineserver)
floor_line=$(cpu floor cpu_ns_floor.exe_1)
floor_server=$(cpu floor cpu_ns_wineserver)
count_ratio=$(compare "$(med counting cpu_ns_ombrelo.exe_1)" "$floor_cpu")
calls_ratio=$(ratio "$calls" "$floor_calls")
memory="$(med counting peak_working_set_kb) KB ($(med floor peak_working_set_kb) KB)"
on_top=$(med raising on_top_percent)
fight=$(cpu raising cpu_ns_ombrelo.exe_1)
show=$(cpu raising cpu_ns_fake_viewer.exe_1)
swaps="$(val pair swaps) times, at $(val pair last_swap_s) s"
pair_cpu="$(cpu pair cpu_ns_ombrelo.exe_1); $(cpu pair cpu_ns_ombrelo.exe_2)"
shown=$(val counting display)
if [ -n "$base" ]; then
  b_start="$(startup_figure base_ms 2) ms, $(startup_figure base_ms 3) to $(startup_figure base_ms 4) ms"
  b_start_ratio=$(compare "$(startup_figure base_ms 2)" "$(startup_figure floor_ms 2)")
  b_count_cpu=$(cpu base_counting cpu_ns_ombrelo.exe_1)
  b_count_server=$(cpu base_counting cpu_ns_wineserver)
  b_count_ratio=$(compare "$(med base_counting cpu_ns_ombrelo.exe_1)" "$floor_cpu")
  b_calls_ratio=$(ratio "$base_calls" "$floor_calls")
  b_memory="$(med base_counting peak_working_set_kb) KB"
  b_on_top=$(med base_raising on_top_percent)
  b_fight=$(cpu base_raising cpu_ns_ombrelo.exe_1)
  b_show=$(cpu base_raising cpu_ns_fake_viewer.exe_1)
  b_swaps="$(val base_pair swaps) times, at $(val base_pair last_swap_s) s"
  b_pair_cpu="$(cpu base_pair cpu_ns_ombrelo.exe_1); $(cpu base_pair cpu_ns_ombrelo.exe_2)"
  b_size=$(stat -c %s "$bench/base/ombrelo.exe")
  ab_start=$(compare "$(startup_figure startup_ms 2)" "$(startup_figure base_ms 2)")
  ab_count=$(compare "$(med counting cpu_ns_ombrelo.exe_1)" "$(med base_counting cpu_ns_ombrelo.exe_1)")
  ab_calls=$(ratio "$calls" "$base_calls")
  b_shown=$(val base_counting display)
fi

echo "exe measured: $app, run natively $(ombrelo_tested "$bench/ombrelo.exe" | cut -d' ' -f3-)"
[ -z "$base" ] ||
  echo "old exe beside it: $base $(ombrelo_tested "$bench/base/ombrelo.exe" | cut -d' ' -f3-)"
echo "machine: $(if [ ${#busy[@]} -gt 0 ]; then echo "too busy to compare"; else echo quiet; fi);" \
  "counting floor $per_call µs of CPU per system call, $stolen % of CPU 0 stolen"
if [ -z "$base" ]; then
  cat <<TABLE
| measure | value | target |
|---|---|---|
| exe size (stripped) | $((size / 1024)) KB ($size bytes) | 192 KB or below |
| imported DLLs | $dlls| Windows' own only |
| start-up to settings window shown and answering (median of $runs; least to most) | $start_line | |
| start-up floor: the same window and display, nothing else | $floor_start_line | |
| start-up ratio to the floor (medians) | $start_ratio | 1.05 or below |
| CPU over ${seconds} s of counting (median of $repeats; spread) | $count_cpu | |
| Wine server meanwhile | $count_server | |
| counting floor (popup, 500 ms timer, text in the same face and size and repaint each second, idle edit box) | $floor_line | |
| Wine server meanwhile | $floor_server | |
| counting ratio to the floor (medians) | $count_ratio | 1.10 or below |
| system calls a second while counting (the floor's) | $calls ($floor_calls): $calls_ratio | |
| peak working set (counting; the counting floor's) | $memory | |
| above a show raising itself every 200 ms: samples on top (median) | $on_top % | 95 % or more |
| CPU while fighting it: program | $fight | program 2 % or below |
| CPU while fighting it: the show | $show | |
| two copies counting: places swapped, last swap | $swaps | settled within 2 s |
| two copies counting: CPU of each | $pair_cpu | within 1.5 × alone |
TABLE
else
  cat <<TABLE
| measure | this exe | old exe | this / old | target |
|---|---|---|---|---|
| exe size (stripped) | $size bytes | $b_size bytes | $(ratio "$size" "$b_size") | 192 KB or below |
| imported DLLs | $dlls| | | Windows' own only |
| start-up to settings window shown and answering (median of $runs; least to most) | $start_line | $b_start | $ab_start | |
| start-up floor: the same window and display, nothing else | $floor_start_line | | | |
| start-up ratio to the floor (medians) | $start_ratio | $b_start_ratio | | 1.05 or below |
| CPU over ${seconds} s of counting (median of $repeats; spread) | $count_cpu | $b_count_cpu | $ab_count | |
| Wine server meanwhile | $count_server | $b_count_server | | |
| counting floor (popup, 500 ms timer, text in the same face and size and repaint each second, idle edit box) | $floor_line | | | |
| Wine server meanwhile | $floor_server | | | |
| counting ratio to the floor (medians) | $count_ratio | $b_count_ratio | | 1.10 or below |
| system calls a second while counting (the floor's: $floor_calls) | $calls: $calls_ratio | $base_calls: $b_calls_ratio | $ab_calls | no more than the old |
| peak working set (counting; the counting floor's) | $memory | $b_memory | | |
| above a show raising itself every 200 ms: samples on top (median) | $on_top % | $b_on_top % | | 95 % or more |
| CPU while fighting it: program | $fight | $b_fight | | program 2 % or below |
| CPU while fighting it: the show | $show | $b_show | | |
| two copies counting: places swapped, last swap | $swaps | $b_swaps | | settled within 2 s |
| two copies counting: CPU of each | $pair_cpu | $b_pair_cpu | | within 1.5 × alone |
TABLE
fi
[ -z "$base" ] || shown+=" (the old exe: $b_shown)"
echo "display after counting: $shown"
