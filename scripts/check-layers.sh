#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own, or when an engine library
# includes Qt. Layers, lowest first: containers, model, mesh, analysis, ui, app; no exceptions.
# Two folders stand beside the stack: the DXF importer on the model (it builds jobs and never
# meshes: only containers and model below it, and only ui, app and python above it), and the
# Python module beside ui (the engine and the importer, never Qt).
# Usage: scripts/check-layers.sh [source root]; prints each offending line, exits 1 if any.
set -euo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root"

layer_of() {  # path -> rank, or nothing for a path outside the layered folders
  case "$1" in
    containers/*) echo 0 ;;
    model/*) echo 1 ;;
    mesh/*) echo 2 ;;
    analysis/*) echo 3 ;;
    ui/*) echo 4 ;;
    app/*) echo 5 ;;
    importer/*) echo 1 ;;
    python/*) echo 4 ;;
  esac
}

# Includes the ranks allow that the side folders still refuse: a folder beside the stack is
# not reachable from the layers below the ones that use it, nor it from them.
side_refused() {  # file, header -> refused?
  case "$1:$2" in
    importer/*:mesh/* | importer/*:analysis/*) return 0 ;;
    mesh/*:importer/* | analysis/*:importer/* | model/*:importer/*) return 0 ;;
    python/*:ui/* | ui/*:python/* | app/*:python/*) return 0 ;;
  esac
  return 1
}

status=0
while IFS= read -r file; do
  own=$(layer_of "$file")
  while IFS=: read -r line text; do
    [[ $text =~ include[[:space:]]*[\<\"]([^\>\"]*) ]] || continue
    header=${BASH_REMATCH[1]}
    if [[ $text =~ \<Q ]] && { ((own <= 3)) || [[ $file == python/* ]]; }; then
      echo "$file:$line: engine library includes Qt: $header"
      status=1
      continue
    fi
    [[ $text =~ \" ]] || continue
    target=$(layer_of "$header")
    [[ -n $target ]] || continue
    if ((target > own)) || side_refused "$file" "$header"; then
      echo "$file:$line: includes a higher layer: $header"
      status=1
    fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include' "$file" || true)
done < <(find containers mesh model importer analysis ui python app -type f \( -name '*.h' -o -name '*.cpp' \) \
           2>/dev/null | sort)

if ((status == 0)); then
  echo "check-layers: no upward includes"
fi
exit $status
