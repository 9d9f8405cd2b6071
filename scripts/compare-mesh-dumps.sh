#!/usr/bin/env bash
# Meshes the examples and a few hundred random plates with two builds of tavrin-cli and compares
# the mesh tables (--dump) byte for byte: the check that a change of the mesher's code leaves
# its meshes as they were.
# Usage: scripts/compare-mesh-dumps.sh OLD_CLI NEW_CLI [PLATES] [WORK_DIR]
#   OLD_CLI     tavrin-cli of the reference build (e.g. main's, built in another worktree)
#   NEW_CLI     tavrin-cli to check
#   PLATES      random plates to mesh (default 300); the jobs are written by random_plate_jobs,
#               looked for next to NEW_CLI's build (build/tests/tools)
#   WORK_DIR    where jobs and dumps go (default /tmp/mesh-dumps); the reference dumps are kept
#               there and made again only when OLD_CLI is newer than them
# Prints each case whose dump differs (or whose run failed differently) and a summary; exits 1
# when any differs.
set -euo pipefail
old=$(realpath "$1")
new=$(realpath "$2")
plates=${3:-300}
work=${4:-/tmp/mesh-dumps}
root=$(cd "$(dirname "$0")/.." && pwd)
generator=$(dirname "$new")/../tests/tools/random_plate_jobs
[[ -x $generator ]] || generator=$root/build/tests/tools/random_plate_jobs
mkdir -p "$work/jobs" "$work/old" "$work/new"

# One case per line: NAME JOB OPTIONS...
cases=$work/cases.txt
: >"$cases"
for job in "$root"/examples/*.sam; do
  name=$(basename "$job" .sam)
  echo "$name-default $job" >>"$cases"
  echo "$name-a20 $job --min-angle 20" >>"$cases"
  echo "$name-a33-area50 $job --min-angle 33 --max-area 50" >>"$cases"
  echo "$name-area5-nodes400 $job --max-area 5 --max-nodes 400" >>"$cases"
done
"$generator" "$work/jobs" 1 "$plates" | while read -r seed area; do
  job=$work/jobs/plate-$seed.sam
  echo "plate$seed-a31 $job --max-area $area" >>"$cases"
  echo "plate$seed-a25 $job --min-angle 25 --max-area $area" >>"$cases"
  echo "plate$seed-a33 $job --min-angle 33 --max-area $area --max-nodes 20000" >>"$cases"
done

run_case() {  # CLI OUT_DIR NAME JOB OPTIONS...
  local cli=$1 out=$2 name=$3
  shift 3
  if "$cli" mesh "$@" --dump "$out/$name.dump" >/dev/null 2>"$out/$name.err"; then
    rm -f "$out/$name.err"
  else
    rm -f "$out/$name.dump"
  fi
}
export -f run_case

stamp=$work/old/.made-by
if [[ ! -f $stamp || $old -nt $stamp || $(cat "$stamp") != "$old $plates" ]]; then
  rm -f "$work"/old/*.dump "$work"/old/*.err
  xargs -P2 -L1 bash -c 'run_case "$0" "$1" "$2" "${@:3}"' "$old" "$work/old" <"$cases"
  echo "$old $plates" >"$stamp"
fi
rm -f "$work"/new/*.dump "$work"/new/*.err
xargs -P2 -L1 bash -c 'run_case "$0" "$1" "$2" "${@:3}"' "$new" "$work/new" <"$cases"

total=0
differ=0
while read -r name _; do
  total=$((total + 1))
  a=$work/old/$name.dump
  b=$work/new/$name.dump
  if [[ -f $a && -f $b ]]; then
    cmp -s "$a" "$b" && continue
  elif [[ ! -f $a && ! -f $b ]]; then
    continue
  fi
  differ=$((differ + 1))
  echo "differs: $name ($(grep -m1 "^$name " "$cases" | cut -d' ' -f2-))"
done <"$cases"
echo "compare-mesh-dumps: $differ of $total meshes differ"
((differ == 0))
