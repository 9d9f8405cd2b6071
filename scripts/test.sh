#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test suite. With --sanitize the build
# goes to build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
dir=build
extra=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  extra=(-DTAVRIN_SANITIZE=ON -DTAVRIN_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-g -O1")
fi
scripts/build.sh "$dir" "${extra[@]}"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
