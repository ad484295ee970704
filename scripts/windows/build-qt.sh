#!/usr/bin/env bash
# Cross-builds Qt 6 base for 64-bit Windows from Debian's own source package of
# the Qt that the Linux build uses, and installs it into DIR.
#   scripts/windows/build-qt.sh [DIR]   (default: $HOME/.cache/gridforge/qt-windows)
# The source comes through a private apt configuration with a deb-src entry for
# the machine's own archive; the machine's apt sources are left as they are.
# Built: Core, Gui, Widgets, Test, the windows and offscreen platform plugins,
# with Qt's bundled zlib, libpng, freetype, harfbuzz and pcre2; no network, sql,
# dbus or OpenGL. A second run with DIR complete does nothing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
cache=${GRIDFORGE_CACHE:-$HOME/.cache/gridforge}
dir=${1:-$cache/qt-windows}
jobs=${GRIDFORGE_JOBS:-$(nproc)}
stamp="$dir/.gridforge-qt-complete"

say() { echo "build-qt: $*"; }

if [ -f "$stamp" ]; then
  say "Qt for Windows is already complete in $dir ($(cat "$stamp"))"
  exit 0
fi

source "$root/scripts/setup.sh"
GRIDFORGE_WINDOWS_QT_PACKAGES=(
  g++-mingw-w64-x86-64-posix cmake ninja-build dpkg-dev perl python3
  qt6-base-dev qt6-base-dev-tools
)
gridforge_install "${GRIDFORGE_WINDOWS_QT_PACKAGES[@]}"

# The host Qt's version and source package: the Windows build is the same Qt.
version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
upstream=${version%%+*}
say "Qt $upstream (Debian source qt6-base $version)"

# A private apt configuration that knows the source package.
apt_dir="$cache/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$apt_dir/parts"
uris=$(grep -h '^URIs:' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -1 | awk '{print $2}')
uris=${uris:-$(awk '$1 == "deb" {print $2; exit}' /etc/apt/sources.list 2>/dev/null)}
uris=${uris:-http://deb.debian.org/debian}
echo "deb-src $uris bookworm main" >"$apt_dir/sources.list"
apt_opts=(
  -o "Dir::Etc::SourceList=$apt_dir/sources.list"
  -o "Dir::Etc::SourceParts=$apt_dir/parts"
  -o "Dir::State::Lists=$apt_dir/lists"
  -o "Dir::Cache::Archives=$apt_dir/archives"
  -o "APT::Get::List-Cleanup=0"
)

src_root="$cache/src"
src="$src_root/qtbase"
if [ ! -f "$src/.gridforge-source-ready" ]; then
  say "fetching the source package qt6-base=$version from $uris"
  apt-get "${apt_opts[@]}" update -q >/dev/null
  rm -rf "$src_root"
  mkdir -p "$src_root"
  (cd "$src_root" && apt-get "${apt_opts[@]}" source -q --download-only "qt6-base=$version" >/dev/null)
  (cd "$src_root" && dpkg-source --no-check -x qt6-base_*.dsc qtbase >/dev/null)
  touch "$src/.gridforge-source-ready"
fi

# Qt 6.4.2's Windows platform plugin uses two parts of Qt Gui that are left
# out here without asking for them: dynamic OpenGL loading (with OpenGL off)
# and the DirectWrite font database (with Direct2D off). Both go with what
# they need; the plugin then draws with GDI.
patch_source() {  # FILE FEATURE NEEDED
  if grep -q "^#if QT_CONFIG($2)\$" "$1"; then
    say "patching $(basename "$1"): $2 only with $3"
    sed -i "s/^#if QT_CONFIG($2)\$/#if QT_CONFIG($2) \&\& QT_CONFIG($3)/" "$1"
  fi
}
patch_source "$src/src/plugins/platforms/windows/qwindowswindow.cpp" dynamicgl opengl
patch_source "$src/src/plugins/platforms/windows/qwindowsintegration.cpp" directwrite3 direct2d

build="$cache/qt-windows-build"
if [ ! -f "$build/build.ninja" ]; then
  say "configuring in $build"
  start=$SECONDS
  rm -rf "$build"
  cmake -S "$src" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DCMAKE_INSTALL_PREFIX="$dir" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
    -DFEATURE_vulkan=OFF -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF -DFEATURE_icu=OFF \
    -DFEATURE_zstd=OFF -DFEATURE_jpeg=OFF -DFEATURE_direct2d=OFF -DFEATURE_tabletevent=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_sql=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF \
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
    >"$cache/qt-windows-configure.log" 2>&1 ||
    { tail -40 "$cache/qt-windows-configure.log"; exit 1; }
  say "configured in $((SECONDS - start)) s"
fi

say "building with $jobs jobs (about 40 minutes on 2 cores)"
start=$SECONDS
cmake --build "$build" -j "$jobs" >"$cache/qt-windows-build.log" 2>&1 ||
  { tail -40 "$cache/qt-windows-build.log"; exit 1; }
say "built in $((SECONDS - start)) s"
cmake --install "$build" >/dev/null
for f in bin/Qt6Core.dll bin/Qt6Gui.dll bin/Qt6Widgets.dll bin/Qt6Test.dll \
         plugins/platforms/qwindows.dll plugins/platforms/qoffscreen.dll; do
  [ -f "$dir/$f" ] || { say "missing after the install: $dir/$f"; exit 1; }
done
echo "qt6-base $version, $(date -u +%Y-%m-%d)" >"$stamp"
say "Qt for Windows installed in $dir"
