#!/usr/bin/env bash
# Prints solve time and peak memory for both solvers and for CHOLMOD alone, one process a case
# (so that each peak is that case's own). Usage: scripts/bench-solve.sh [BUILD_DIR] [--example]
# BUILD_DIR defaults to build-rel (configure it with -DCMAKE_BUILD_TYPE=Release); --example adds
# the plate with a hole at 254,237 equations (meshing it takes a minute; its envelope solve
# takes minutes and gigabytes, so it is run only with --example-envelope).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-rel
example=0
example_envelope=0
for a in "$@"; do
  case "$a" in
    --example) example=1 ;;
    --example-envelope) example=1; example_envelope=1 ;;
    *) dir=$a ;;
  esac
done
cmake --build "$dir" --target bench_solve -j2 >/dev/null
bench="$dir/bench/bench_solve"
cases=()
for n in 1000 3000 10000 30000 100000 300000; do
  cases+=("SolveSparse/$n" "CholmodAlone/$n")
  [ "$n" -le 100000 ] && cases+=("SolveEnvelope/$n")
done
[ "$example" = 1 ] && cases+=(ExampleSparse ExampleCholmodAlone)
[ "$example_envelope" = 1 ] && cases+=(ExampleEnvelope)
# time_s is wall-clock time; cpu_s the calling thread's processor time (OpenBLAS and OpenMP
# workers not included): on a machine shared with other work the second is the steadier figure.
printf '%-22s %10s %10s %10s %10s %14s\n' case equations time_s cpu_s peak_mb factor_entries
for c in "${cases[@]}"; do
  "$bench" --benchmark_filter="^${c}(/iterations:1)?\$" --benchmark_format=csv 2>/dev/null |
    awk -F, -v name="$c" '
      /^name,/ { for (i = 1; i <= NF; i++) { h = $i; gsub(/"/, "", h); col[h] = i }; next }
      col["name"] && NF > 5 {
        unit = $col["time_unit"]; f = unit == "ms" ? 1e-3 : unit == "us" ? 1e-6 : unit == "ns" ? 1e-9 : 1;
        printf "%-22s %10d %10.3f %10.3f %10.0f %14.0f\n", name, $col["equations"], $col["real_time"] * f,
               $col["cpu_time"] * f, $col["peak_mb"], $col["factor_entries"]
      }'
done
