#!/usr/bin/env bash
# Installs a build into a staging folder and checks what a desktop gets: the
# program, a valid menu entry that takes a file, the map file type, the icon
# in every size and valid software-centre data; then makes the Debian package
# and checks its contents and its library dependencies.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

id=org.gridforge.Gridforge
sizes="16 32 48 64 128 256"
expected="usr/bin/gridforge
usr/share/applications/$id.desktop
usr/share/doc/gridforge/changelog.gz
usr/share/doc/gridforge/copyright
usr/share/man/ja/man1/gridforge.1.gz
usr/share/man/man1/gridforge.1.gz
usr/share/metainfo/$id.metainfo.xml
usr/share/mime/packages/$id.xml"
for size in $sizes; do
  expected+=$'\n'"usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
done
expected=$(sort <<<"$expected")

stage=$work/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
installed=$(cd "$stage" && find . -type f -o -type l | sed 's|^\./||' | sort)
[ "$installed" = "$expected" ] || fail "installed files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$installed"))"

desktop=$stage/usr/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate refuses the menu entry"
grep -Eq '^Exec=gridforge %[fF]$' "$desktop" || fail "the menu entry's Exec takes no file"
for key in 'Name\[ja\]' 'Comment\[ja\]' 'MimeType=application/x-gridforge-map;'; do
  grep -Eq "^$key" "$desktop" || fail "the menu entry has no $key"
done

appstreamcli validate --no-net "$stage/usr/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  fail "appstreamcli refuses the metainfo: $(cat "$work/appstream.log")"

for size in $sizes; do
  icon=$stage/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
  file -b "$icon" | grep -q "PNG image data, $size x $size," || fail "icon $size is $(file -b "$icon")"
done

# The MIME package as shared-mime-info compiles it.
cp -r "$stage/usr/share/mime" "$work/mime"
update-mime-database "$work/mime" >/dev/null 2>&1 || fail "update-mime-database refuses the MIME package"
grep -qx '50:application/x-gridforge-map:\*\.kxgf' "$work/mime/globs2" || fail "no *.kxgf glob for the map type"
grep -q '<comment xml:lang="ja">Gridforge マップ</comment>' "$work/mime/application/x-gridforge-map.xml" ||
  fail "the map type has no Japanese comment"

# The Debian package: the same files, and dependencies found from the libraries.
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1) ||
  fail "cpack -G DEB failed: $(cat "$work/cpack.log")"
deb=$(ls "$work"/package/gridforge_*.deb 2>/dev/null | head -1)
if [ -n "$deb" ]; then
  packaged=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | sort)
  [ "$packaged" = "$expected" ] || fail "packaged files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$packaged"))"
  depends=$(dpkg-deb -f "$deb" Depends)
  for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
    tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | grep -qxF "$package" || fail "the package does not depend on $package: $depends"
  done
  "$(dirname "$0")/../../scripts/lintian-check.sh" "$deb" >"$work/lintian.log" 2>&1 ||
    fail "lintian: $(cat "$work/lintian.log")"
else
  fail "cpack made no gridforge_*.deb"
fi

[ "$failures" -eq 0 ] && echo "install and package checks passed"
exit $((failures > 0))
