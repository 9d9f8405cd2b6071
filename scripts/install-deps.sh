#!/usr/bin/env bash
# Installs the Debian packages TAVRIN builds and tests with; does nothing when all are present.
set -euo pipefail
packages=(git g++ clang clang-format libfuzzer-14-dev make cmake qt6-base-dev qt6-svg-dev libgtest-dev libgmock-dev libbenchmark-dev libsuitesparse-dev libopenblas-dev xvfb xauth libdxflib-dev pybind11-dev python3-dev python3-numpy python3-pytest python3-ezdxf)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "installing: ${missing[*]}"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
