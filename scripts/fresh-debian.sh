#!/usr/bin/env bash
# A fresh Debian 12 in a chroot, to try the project's commands and its package
# the way a new machine sees them. Needs root and debootstrap.
#   scripts/fresh-debian.sh make DIR          a minimal Debian 12 in DIR (or a copy
#                                             of FRESH_DEBIAN_BASE when that is set)
#   scripts/fresh-debian.sh copy-project DIR  the project's files into DIR/root/gridforge
#   scripts/fresh-debian.sh run DIR CMD...    CMD as root in DIR, /proc, /sys and /dev mounted
#   scripts/fresh-debian.sh remove DIR
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
mirror=${FRESH_DEBIAN_MIRROR:-http://deb.debian.org/debian}

unmount_all() {
  local dir=$1
  for m in dev/pts dev sys proc; do
    if mountpoint -q "$dir/$m"; then umount -l "$dir/$m"; fi
  done
}

action=${1:-}
dir=${2:-}
[ -n "$action" ] && [ -n "$dir" ] || { sed -n '2,9p' "$0" >&2; exit 2; }
shift 2

case $action in
  make)
    if [ -n "${FRESH_DEBIAN_BASE:-}" ]; then
      mkdir -p "$dir"
      cp -a "$FRESH_DEBIAN_BASE/." "$dir/"
    else
      debootstrap --variant=minbase bookworm "$dir" "$mirror"
    fi
    cp /etc/resolv.conf "$dir/etc/resolv.conf"
    ;;
  copy-project)
    mkdir -p "$dir/root/gridforge"
    (cd "$here" && git ls-files -co --exclude-standard -z | tar --null -T - -cf -) |
      tar -xf - -C "$dir/root/gridforge"
    ;;
  run)
    trap 'unmount_all "$dir"' EXIT
    mount -t proc proc "$dir/proc"
    mount -t sysfs sys "$dir/sys"
    mount --bind /dev "$dir/dev"
    mount --bind /dev/pts "$dir/dev/pts"
    chroot "$dir" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin TERM=dumb \
      LANG=C.UTF-8 "$@"
    ;;
  remove)
    unmount_all "$dir"
    rm -rf --one-file-system "$dir"
    ;;
  *)
    echo "fresh-debian.sh: unknown action '$action'" >&2
    exit 2
    ;;
esac
