#!/usr/bin/env bash
# Builds with warnings as errors in the given build types and compilers, as users and packagers
# build (plain CMake, no scripts): e.g. `scripts/check-build.sh Release` or
# `scripts/check-build.sh --compilers "g++ clang++" Release Debug MinSizeRel RelWithDebInfo`.
# Each build goes to build-check/<compiler>-<type>/; tests are built but not run.
set -euo pipefail
cd "$(dirname "$0")/.."
compilers="g++"
if [ "${1:-}" = "--compilers" ]; then
  compilers=$2
  shift 2
fi
types=("$@")
[ ${#types[@]} -gt 0 ] || types=(Release)
for cxx in $compilers; do
  for type in "${types[@]}"; do
    dir="build-check/$cxx-$type"
    echo "== $cxx $type"
    cmake -S . -B "$dir" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE="$type" -DTAVRIN_WERROR=ON >/dev/null
    cmake --build "$dir" -j"$(nproc)"
  done
done
