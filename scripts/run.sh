#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job on a bundled example.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
if [ -x build/app/tavrin ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a build/app/tavrin examples/plate-with-hole.sam
  fi
  exec build/app/tavrin examples/plate-with-hole.sam
fi
exec build/app/tavrin-cli info examples/plate-with-hole.sam
