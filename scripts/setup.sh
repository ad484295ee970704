#!/usr/bin/env bash
# Installs what Gridforge needs on Debian 12, and only what is missing.
# Sourced by ./run, ./test and ./benchmark.
set -euo pipefail

# Building and running the editor.
GRIDFORGE_RUN_PACKAGES=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-translations-l10n libgl-dev
  fonts-ipafont-gothic fonts-dejavu-core
)
# Showing the editor on a virtual X server when there is no display (./run
# without a display, the end-to-end tests).
GRIDFORGE_HEADLESS_PACKAGES=(
  xvfb xauth xdotool x11-utils imagemagick openbox
)
# The tests, benchmarks, sanitizer and fuzz runs, and the package build.
GRIDFORGE_TEST_PACKAGES=(
  libbenchmark-dev valgrind
  clang libclang-rt-14-dev
  python3 xclip
  desktop-file-utils appstream shared-mime-info
  dpkg-dev file debootstrap lintian
  g++-mingw-w64-x86-64-posix ccache
  acl  # setfacl and getfacl for the save tests' ACL rows
  # A session bus and the accessibility bus with its reader, for what a screen
  # reader reads (tests/e2e/atspi_session.py).
  dbus-daemon at-spi2-core python3-pyatspi
  locales  # the Japanese locale the end-to-end tests also run in
)

gridforge_missing_packages() {
  local missing=()
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  echo "${missing[@]}"
}

# gridforge_setup [run|headless|test]...: installs the lists named (all of
# them when none is named).
gridforge_setup() {
  local wanted=("$@")
  [ ${#wanted[@]} -gt 0 ] || wanted=(run headless test)
  local packages=()
  for list in "${wanted[@]}"; do
    case $list in
      run) packages+=("${GRIDFORGE_RUN_PACKAGES[@]}") ;;
      headless) packages+=("${GRIDFORGE_HEADLESS_PACKAGES[@]}") ;;
      test) packages+=("${GRIDFORGE_TEST_PACKAGES[@]}") ;;
      *) echo "gridforge_setup: unknown package list '$list'" >&2; return 1 ;;
    esac
  done
  gridforge_install "${packages[@]}"
  case " ${wanted[*]} " in
    *" test "*) gridforge_locale ja_JP.UTF-8 ;;
  esac
}

# gridforge_locale NAME: makes the locale NAME (such as ja_JP.UTF-8) where the
# system does not have it yet.
gridforge_locale() {
  local name=$1
  local short
  short=$(echo "$name" | sed 's/UTF-8/utf8/')
  if locale -a 2>/dev/null | grep -qx "$short"; then
    return 0
  fi
  echo "Making the locale $name"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  $sudo sed -i "s/^# *\($name UTF-8\)/\1/" /etc/locale.gen
  grep -q "^$name UTF-8" /etc/locale.gen || echo "$name UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
}

# gridforge_install PACKAGE...: installs those of the packages that are missing.
gridforge_install() {
  local missing
  missing=$(gridforge_missing_packages "$@")
  if [ -z "$missing" ]; then
    return 0
  fi
  echo "Installing: $missing"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  $sudo apt-get update -q
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
}

# gridforge_build DIR [CMAKE OPTIONS...]: configures and builds DIR; set
# GRIDFORGE_TARGET to build one target only. Tests, benchmarks and warnings as
# errors are on unless an option turns them off, so that every command states
# its own choice and none inherits another's from the CMake cache.
gridforge_build() {
  local dir=${1:-build}
  shift || true
  local launcher=()
  # A compiler cache, where there is one, makes a build in a fresh clone or a
  # second work tree as quick as an incremental one.
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
    # With debug information ccache hashes the build's folder too, so that no
    # other clone or work tree would ever hit; the folder only names the
    # sources for a debugger.
    export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
  fi
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
    -DGRIDFORGE_BUILD_TESTS=ON -DGRIDFORGE_BUILD_BENCH=ON -DGRIDFORGE_WERROR=ON "$@" >/dev/null
  if [ -n "${GRIDFORGE_TARGET:-}" ]; then
    cmake --build "$dir" -j "$(nproc)" --target "$GRIDFORGE_TARGET"
  else
    cmake --build "$dir" -j "$(nproc)"
  fi
}
