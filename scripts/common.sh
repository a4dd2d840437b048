# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the scripts: installs the Debian packages a step needs when any
# is missing, keeps the clone's build folders its owner's, and configures and
# builds in build/ (or $ZELVANOS_BUILD_DIR).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ZELVANOS_BUILD_DIR:-$ROOT/build}
ME=${ME:-$(basename "$0")}

# What building and playing the game needs.
PACKAGES=(cmake ninja-build g++ pkg-config libsdl2-dev libsdl2-mixer-dev libpng-dev)
# What the tests and benchmarks need besides: GoogleTest, Google Benchmark,
# XTest, and a real X server with a window manager to run the window in.
TEST_PACKAGES=(libgtest-dev libbenchmark-dev libxtst-dev xvfb xdotool imagemagick openbox wmctrl)
# What scripts/lint needs besides.
LINT_PACKAGES=(clang-format clang-tidy)
# What the browser build needs besides (scripts/web), and its tests
# (tests/web/run.sh): Chromium, and npm for the pinned puppeteer-core.
WEB_PACKAGES=(emscripten python3 brotli librsvg2-bin)
BROWSER_TEST_PACKAGES=(chromium)
command -v npm >/dev/null || BROWSER_TEST_PACKAGES+=(npm)
# What making the Debian package needs besides: dpkg-shlibdeps computes its
# dependencies, cpack finds the programs with file, and lintian checks it.
PACKAGING_PACKAGES=(dpkg-dev file lintian)

# install_missing [PACKAGE...]: installs PACKAGES and the ones named, where
# missing, with apt-get as root or through sudo, saying what it installs and
# how far it got. Without either it names the packages and the command for
# root, and stops.
install_missing() {
  local missing=() p
  for p in "${PACKAGES[@]}" "$@"; do
    [[ " ${missing[*]} " == *" $p "* ]] && continue
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "$ME: these Debian packages are missing: ${missing[*]}" >&2
      echo "$ME: as root, run: apt-get install ${missing[*]}   and then $ME again" >&2
      exit 1
    fi
    sudo=(sudo)
  fi
  echo "$ME: installing ${#missing[@]} Debian packages and what they need (apt-get; the first time takes minutes): ${missing[*]}"
  local log
  log=$(mktemp)
  echo "  updating the package lists"
  if "${sudo[@]}" apt-get update -q >"$log" 2>&1 &&
     "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q -o Dpkg::Use-Pty=0 "${missing[@]}" 2>&1 |
       tee -a "$log" | apt_progress; then
    rm -f "$log"
    return 0
  fi
  tail -n 40 "$log" >&2
  rm -f "$log"
  echo "$ME: installing failed; as root, run: apt-get install ${missing[*]}" >&2
  exit 1
}

# Reads apt-get install's output and shows how far it got: the sizes, then
# one line per package set up (one line rewritten in place on a terminal).
apt_progress() {
  local tty=0
  [ -t 1 ] && tty=1
  awk -v tty="$tty" '
    /^[0-9]+ upgraded, [0-9]+ newly installed/ { total = $1 + $3; print "  " $0; fflush(); next }
    /^Need to get / { print "  downloading: " $0; fflush(); next }
    /^Setting up / {
      done++
      line = sprintf("  [%d/%d] set up %s", done, total, $3)
      if (tty) printf "\r%-78s", line; else print line
      fflush()
    }
    END { if (tty && done) print "" }'
}

# When root runs a script in a clone that belongs to someone else, what the
# run leaves in the clone's build folders is given to the clone's owner at
# the end, so that the owner's next run can use them.
give_back_to_owner() {
  local owner group paths=() p
  owner=$(stat -c %u "$ROOT") group=$(stat -c %g "$ROOT")
  for p in "$ROOT"/build* "$ROOT/tests/web/node_modules" "$BUILD"; do
    [[ "$p" == "$ROOT"/* ]] && [ -e "$p" ] && paths+=("$p")
  done
  [ ${#paths[@]} -eq 0 ] || chown -R -h --from=0 "$owner:$group" "${paths[@]}"
}
giving_back=0
if [ "$(id -u)" -eq 0 ] && [ "$(stat -c %u "$ROOT")" -ne 0 ]; then
  giving_back=1
  trap give_back_to_owner EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  trap 'exit 129' HUP
fi

# finish_with COMMAND...: ends the script with the command (in its place,
# unless what the run left is yet to be given back).
finish_with() {
  [ "$giving_back" = 1 ] || exec "$@"
  local status=0
  "$@" || status=$?
  exit "$status"
}

# check_folder DIR: stops with one line when a folder in DIR, or the build
# log that ninja appends to, is not the caller's own (left by a run as root
# before runs gave them back, or one cut short). Root's files of
# `cmake --install` (its manifest, the desktop entry) do not matter.
check_folder() {
  [ "$(id -u)" -ne 0 ] && [ -e "$1" ] || return 0
  local other
  other=$(find "$1" \( -type d -o -name '.ninja_*' \) ! -user "$(id -u)" -print -quit 2>/dev/null)
  [ -z "$other" ] && return 0
  echo "$ME: $1 holds files of another user ($other); as root, run: chown -R $(id -un): $1" >&2
  exit 1
}

# build [CMAKE_ARGUMENTS...]: configures and builds everything, or only the
# targets named in the BUILD_TARGETS array.
build() {
  check_folder "$BUILD"
  cmake -S "$ROOT" -B "$BUILD" -G Ninja "$@" >/dev/null
  local targets=()
  [ -n "${BUILD_TARGETS+x}" ] && targets=(--target "${BUILD_TARGETS[@]}")
  cmake --build "$BUILD" "${targets[@]}"
}
