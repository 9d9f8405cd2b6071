#!/usr/bin/env bash
# Runs .ci/run on a clean clone of this repository's HEAD inside a minimal Debian 12 system
# (debootstrap --variant=minbase bookworm), so that a package installed by hand on this machine
# cannot hide a missing install step. Needs root and debootstrap; the system is made once in
# ROOT (default /var/tmp/tavrin-ci-root, about 1.5 GB once CI has installed its packages) and
# reused; --fresh makes it again. Prints the run's output and its time; exits with its status.
# Usage: scripts/ci-in-chroot.sh [--fresh] [ROOT]
set -euo pipefail
cd "$(dirname "$0")/.."
fresh=no
if [ "${1:-}" = "--fresh" ]; then
  fresh=yes
  shift
fi
root=${1:-/var/tmp/tavrin-ci-root}
mirror=${TAVRIN_DEBIAN_MIRROR:-http://deb.debian.org/debian}

command -v debootstrap >/dev/null || { echo "needs debootstrap (apt-get install debootstrap)" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "needs root (debootstrap and chroot)" >&2; exit 1; }

unmount() {
  for m in dev/pts dev proc sys; do umount -l "$root/$m" 2>/dev/null || true; done
}
trap unmount EXIT

if [ "$fresh" = yes ]; then
  unmount
  rm -rf "$root"
fi
# A system that only lacks its last step (an interrupted debootstrap) is made again.
if [ ! -x "$root/usr/bin/apt-get" ] || [ ! -f "$root/.tavrin-ready" ]; then
  rm -rf "$root"
  debootstrap --variant=minbase bookworm "$root" "$mirror"
  touch "$root/.tavrin-ready"
fi

mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
cp /etc/resolv.conf "$root/etc/resolv.conf"

# CI clones the submitted main afresh; so does this, from the committed HEAD only.
rm -rf "$root/ci"
git clone --quiet --no-local . "$root/ci/tavrin"
git -C "$root/ci/tavrin" checkout --quiet "$(git rev-parse HEAD)"
mkdir -p "$root/ci/shared"
[ -d ../shared ] && cp -r ../shared/. "$root/ci/shared/" 2>/dev/null || true

start=$(date +%s)
status=0
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  CI=true LANG=C.UTF-8 /bin/bash -c 'cd /ci/tavrin && bash .ci/run </dev/null' || status=$?
echo "ci-in-chroot: .ci/run exited $status after $(($(date +%s) - start)) s"
exit $status
