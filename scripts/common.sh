# Shared by scripts/play and scripts/test: installs the Debian packages the
# build needs when any is missing, then configures and builds in build/.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ZELVANOS_BUILD_DIR:-$ROOT/build}

PACKAGES=(cmake ninja-build g++ pkg-config libsdl2-dev libsdl2-mixer-dev libpng-dev
          libgtest-dev libbenchmark-dev libxtst-dev)
# What the tests need beyond the build: a real X server to run the window in.
TEST_PACKAGES=(xvfb xdotool imagemagick openbox wmctrl)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
}

build() {
  cmake -S "$ROOT" -B "$BUILD" -G Ninja "$@" >/dev/null
  cmake --build "$BUILD"
}
