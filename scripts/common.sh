# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by scripts/play, scripts/test and scripts/package: installs the
# Debian packages a step needs when any is missing, then configures and
# builds in build/ (or $ZELVANOS_BUILD_DIR).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ZELVANOS_BUILD_DIR:-$ROOT/build}

# What building and playing the game needs.
PACKAGES=(cmake ninja-build g++ pkg-config libsdl2-dev libsdl2-mixer-dev libpng-dev)
# What the tests and benchmarks need besides: GoogleTest, Google Benchmark,
# XTest, and a real X server with a window manager to run the window in.
TEST_PACKAGES=(libgtest-dev libbenchmark-dev libxtst-dev xvfb xdotool imagemagick openbox wmctrl)
# What making the Debian package needs besides: dpkg-shlibdeps computes its
# dependencies, and cpack finds the programs with file.
PACKAGING_PACKAGES=(dpkg-dev file)

install_missing() {
  local missing=() p
  for p in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local me sudo=()
  me=$(basename "$0")
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "$me: Debian packages are missing; as root, run: apt-get install ${missing[*]}" >&2
      exit 1
    fi
    sudo=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  local log
  log=$(mktemp)
  if ! { "${sudo[@]}" apt-get update -qq &&
         "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"; } >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "$me: installing failed; as root, run: apt-get install ${missing[*]}" >&2
    exit 1
  fi
  rm -f "$log"
}

# build [CMAKE_ARGUMENTS...]: configures and builds everything, or only the
# targets named in the BUILD_TARGETS array.
build() {
  cmake -S "$ROOT" -B "$BUILD" -G Ninja "$@" >/dev/null
  local targets=()
  [ -n "${BUILD_TARGETS+x}" ] && targets=(--target "${BUILD_TARGETS[@]}")
  cmake --build "$BUILD" "${targets[@]}"
}
