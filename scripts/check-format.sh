#!/usr/bin/env bash
# Fails when a C++ source or header of the tree differs from what clang-format makes of it
# (.clang-format at the top). With --fix, formats them in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format || command -v clang-format-14)
command -v git >/dev/null || { echo "check-format needs git (the tracked files)" >&2; exit 1; }
mapfile -t files < <(git ls-files '*.cpp' '*.h')
[ ${#files[@]} -gt 0 ] || { echo "check-format found no sources to check" >&2; exit 1; }
if [ "${1:-}" = "--fix" ]; then
  "$format" -i "${files[@]}"
  exit 0
fi
"$format" --dry-run --Werror "${files[@]}"
