#!/usr/bin/env bash
# Builds the two libFuzzer programs with clang++ (AddressSanitizer, UndefinedBehaviorSanitizer,
# assertions on) into build-fuzz/ and runs each for a bounded time, seeded with the hostile
# seeds, the examples and the inputs kept from earlier faults. Fails on a crash, a hang, a
# round-trip difference or a non-finite result; the input is then in build-fuzz/artifacts/ and
# belongs in fuzz/regressions/ once the fault is mended.
# A fixed seed (1 unless TAVRIN_FUZZ_SEED says otherwise) makes a run repeatable: CI fails on
# what a change broke, not on what a lucky mutation found that day. Hunting for new faults
# wants TAVRIN_FUZZ_SEED=0 (libFuzzer picks a seed) and a longer time.
#   scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
seed=${TAVRIN_FUZZ_SEED:-1}
dir=build-fuzz
scripts/install-deps.sh
cmake -S . -B "$dir" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-g -O1" \
  -DTAVRIN_FUZZ=ON -DTAVRIN_WERROR=ON -DTAVRIN_BUILD_UI=OFF -DTAVRIN_BUILD_TESTS=OFF -DTAVRIN_BUILD_BENCH=OFF \
  ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
cmake --build "$dir" -j"$(nproc)" --target fuzz_job_file fuzz_mesh_solve
mkdir -p "$dir/artifacts"
status=0
for target in fuzz_job_file fuzz_mesh_solve; do
  corpus="$dir/corpus/$target"
  mkdir -p "$corpus"
  cp fuzz/seeds/*.sam examples/*.sam "$corpus/"
  find fuzz/regressions -type f ! -name '.*' -exec cp {} "$corpus/" \;
  log="$dir/$target.log"
  echo "== $target: ${seconds} s, seed $seed"
  if "$dir/fuzz/$target" "$corpus" -dict=fuzz/job.dict -max_total_time="$seconds" -seed="$seed" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$dir/artifacts/$target-" >"$log" 2>&1; then
    grep -E "stat::number_of_executed_units|stat::new_units_added|stat::peak_rss_mb" "$log" | sed "s/^/$target /"
  else
    status=1
    echo "$target FAILED: last lines of $log:"
    tail -n 40 "$log"
    ls -l "$dir/artifacts/"
  fi
done
if [ "$status" -eq 0 ]; then echo "fuzz: 2 passed, 0 failed"; else echo "fuzz: a target failed"; fi
exit "$status"
