#!/usr/bin/env bash
# Prints the meshing-rate table of the plate with a hole: for each minimal angle and maximal
# area, this mesher's triangles, CPU seconds, triangles per second and peak memory, the same for
# CGAL's mesher when the benchmark was built with it, and the ratio of the two rates. Each case
# runs in a process of its own, so the peak memory is that of the case. Rates and ratios come from
# the CPU times as the benchmark reports them, not from the seconds as printed (a 10^4 case takes
# about a hundredth of a second, where rounding to milliseconds alone moved its ratio by 8 %).
# Usage: scripts/mesh-rate-table.sh [BUILD_DIR (default build-rel, a Release build)] [ANGLES] [AREAS]
# e.g. scripts/mesh-rate-table.sh build-rel "28 31" "28400 2840 284" (areas in thousandths).
set -euo pipefail
cd "$(dirname "$0")/.."
bench=${1:-build-rel}/bench/bench_mesh_rate
angles=${2:-28 31}
areas=${3:-28400 9500 2840 1600 950 284}
[ -x "$bench" ] || { echo "no $bench: build the target bench_mesh_rate first" >&2; exit 1; }
cgal=no
"$bench" --benchmark_list_tests | grep -q '^BM_Cgal/' && cgal=yes
[ "$cgal" = yes ] || echo "CGAL comparison skipped: the benchmark was built without CGAL (install libcgal-dev and rebuild)"

# One case: prints "triangles cpu_seconds peak_mb min_angle", or "- - - -" when absent.
run() {
  local out
  out=$("$bench" --benchmark_filter="^$1/$2/$3/" --benchmark_format=csv 2>/dev/null) || true
  echo "$out" | awk -F, '
    NR == 1 { for (i = 1; i <= NF; i++) col[$i] = i; next }
    /^"BM_/ { t = $col["cpu_time"]; u = $col["time_unit"]
              s = (u == "ms") ? t / 1000 : (u == "us") ? t / 1e6 : (u == "ns") ? t / 1e9 : t
              printf "%d %.6f %.0f %.2f\n", $col["\"triangles\""], s, $col["\"peak_mb\""], $col["\"min_angle\""]
              found = 1 }
    END { if (!found) print "- - - -" }'
}

printf '%-5s %-7s | %9s %8s %10s %7s %7s | %9s %8s %10s %7s | %6s\n' angle area triangles seconds \
  "tri/s" "MB" "reached" "CGAL tri" seconds "tri/s" "MB" ratio
for angle in $angles; do
  for area in $areas; do
    read -r tt ts tm ta < <(run BM_Tavrin "$angle" "$area")
    if [ "$cgal" = yes ]; then read -r ct cs cm ca < <(run BM_Cgal "$angle" "$area"); else ct=-; cs=-; cm=-; fi
    awk -v angle="$angle" -v area="$area" -v tt="$tt" -v ts="$ts" -v tm="$tm" -v ta="$ta" \
        -v ct="$ct" -v cs="$cs" -v cm="$cm" 'BEGIN {
      tr = (ts > 0) ? tt / ts : 0; cr = (cs != "-" && cs > 0) ? ct / cs : 0
      printf "%-5s %-7s | %9s %8s %10.0f %7s %7s | %9s %8s %10s %7s | %6s\n", angle, area / 1000, tt,
        (ts != "-" ? sprintf("%.4f", ts) : "-"), tr, tm, ta, ct, (cs != "-" ? sprintf("%.4f", cs) : "-"), (cr > 0 ? sprintf("%.0f", cr) : "-"), cm,
        (cr > 0 ? sprintf("%.2f", tr / cr) : "-") }'
  done
done
