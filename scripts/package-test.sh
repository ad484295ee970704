#!/usr/bin/env bash
# Makes the Debian package from a build and tries it on a fresh Debian 12 (a
# chroot, scripts/fresh-debian.sh): `apt-get install ./gridforge_*.deb` must
# bring in what it needs, the program must start, the desktop must know the
# map file type, and `apt-get purge` must take every file away again. Before
# that, lintian must find no error or warning (scripts/lintian-check.sh).
# Needs root, debootstrap, lintian and Debian's archive.
#   GRIDFORGE_PACKAGE_BUILD_DIR  the build to package (default build/, built here)
#   FRESH_DEBIAN_BASE            a debootstrapped Debian 12 to copy instead of a new one
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
dir=${GRIDFORGE_PACKAGE_BUILD_DIR:-build}
cmake --build "$dir" -j "${GRIDFORGE_JOBS:-$(nproc)}" --target gridforge >/dev/null

work=$(mktemp -d /var/tmp/gridforge-package.XXXXXX)
chroot_dir=$work/debian
cleanup() { "$root/scripts/fresh-debian.sh" remove "$chroot_dir" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

(cd "$work" && cpack -G DEB --config "$root/$dir/CPackConfig.cmake" -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/gridforge_*.deb)
echo "package: $(basename "$deb"), depends: $(dpkg-deb -f "$deb" Depends)"
"$root/scripts/lintian-check.sh" "$deb"

start=$SECONDS
"$root/scripts/fresh-debian.sh" make "$chroot_dir" >"$work/debootstrap.log" 2>&1 ||
  { tail -20 "$work/debootstrap.log"; exit 1; }
echo "fresh Debian 12 ready in $((SECONDS - start)) s"
cp "$deb" "$chroot_dir/root/"
printf 'KX-GRIDFORGE@VER1.00\r\n10,10\r\n0\r\n' >"$chroot_dir/root/probe.kxgf"

cat >"$chroot_dir/root/try-package.sh" <<'INNER'
#!/bin/bash
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
fail() { echo "FAIL: $*"; exit 1; }
cd /root
apt-get update -q >/dev/null
# A desktop has the MIME database; its trigger must pick up the map type.
apt-get install -y -q --no-install-recommends shared-mime-info >/dev/null
before=$(find / -xdev -path /proc -prune -o -path /root -prune -o -path /var -prune -o -path /tmp -prune -o -print | sort)

apt-get install -y -q ./gridforge_*.deb >install.log 2>&1 || { tail -30 install.log; fail "apt-get install"; }
echo "installed: $(dpkg-query -W -f='${Package} ${Version} ${Status}' gridforge)"
files=$(dpkg -L gridforge)
for f in /usr/bin/gridforge /usr/share/applications/org.gridforge.Gridforge.desktop \
         /usr/share/mime/packages/org.gridforge.Gridforge.xml /usr/share/metainfo/org.gridforge.Gridforge.metainfo.xml \
         /usr/share/icons/hicolor/256x256/apps/org.gridforge.Gridforge.png; do
  [ -f "$f" ] || fail "$f is not installed"
done
gridforge --help | grep -q "Usage: gridforge" || fail "gridforge --help"
gridforge --level-text /root/probe.kxgf | head -c 9 | grep -qx "typ_map= " || fail "gridforge --level-text"
man -w gridforge >/dev/null 2>&1 || [ -f /usr/share/man/man1/gridforge.1.gz ] || fail "no manual page"
grep -q 'application/x-gridforge-map:\*\.kxgf' /usr/share/mime/globs2 || fail "the MIME database does not know *.kxgf"
# The program must start: libraries, the platform plugin and the font all
# there. It keeps running with the map until it is stopped.
set +e
QT_QPA_PLATFORM=offscreen timeout 5 gridforge /root/probe.kxgf >run.log 2>&1
status=$?
set -e
[ "$status" -eq 124 ] || { cat run.log; fail "gridforge ended with status $status instead of running"; }
echo "gridforge ran with a map until stopped"

apt-get purge -y -q gridforge >remove.log 2>&1 || { tail -30 remove.log; fail "apt-get purge"; }
dpkg-query -W -f='${Status}' gridforge 2>/dev/null | grep -q 'install ok installed' && fail "still installed"
for f in $files; do
  [ -d "$f" ] && continue
  [ -e "$f" ] && fail "$f is left after removal"
done
grep -q 'application/x-gridforge-map' /usr/share/mime/globs2 && fail "the MIME database still knows the map type"
after=$(find / -xdev -path /proc -prune -o -path /root -prune -o -path /var -prune -o -path /tmp -prune -o -print | sort)
# The dependencies stay (apt removes only what was asked); nothing of ours may.
ours=$(comm -13 <(echo "$before") <(echo "$after") | grep -i -e gridforge -e kxgf || true)
[ -z "$ours" ] || fail "left after removal: $ours"
echo "removed cleanly"
INNER
chmod +x "$chroot_dir/root/try-package.sh"
"$root/scripts/fresh-debian.sh" run "$chroot_dir" /root/try-package.sh
echo "package test passed in $((SECONDS - start)) s"
