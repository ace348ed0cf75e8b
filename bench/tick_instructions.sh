#!/bin/bash
# Instructions per tick of bench_tick's .../paint cases under callgrind: the tick and the repaint that
# follows it, the window's construction and first paints left out. Counts, unlike times, repeat
# exactly on a loaded machine, so two builds compare without a quiet machine.
#   bench/tick_instructions.sh build/release/bin/bench_tick [CASE ...]
set -euo pipefail
N=${TICKS:-300}
bench=$(realpath "${1:?path to bench_tick}"); shift || true
cases=("$@")
[ ${#cases[@]} -gt 0 ] || cases=(moving moving_rainbow moving_hue moving_sliders moving_background still_background still)
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
printf '%-20s %14s %8s\n' case "Ir per tick" ticks
for c in "${cases[@]}"; do
  TICK_ITERATIONS=$N valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$tmp/cg.$c" "$bench" \
    --benchmark_filter="^BM_Tick/$c/paint" >/dev/null 2>&1
  total=$(callgrind_annotate "$tmp/cg.$c" 2>/dev/null | awk '/PROGRAM TOTALS/{gsub(",","",$1); print $1}')
  printf '%-20s %14d %8d\n' "$c" $((total / N)) "$N"
done
