#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The set-up scripts as a newcomer and a packager meet them.
#   scripts.sh CASE SOURCE_FOLDER
# packages     what is missing is installed with progress shown (apt-get
#              and dpkg-query are stand-ins here), scripts/package asks for
#              lintian and scripts/test for what the lint and browser tests
#              need; without root the packages and root's command are named
#              and nothing is built.
# ownership    root runs scripts/play and scripts/test in another user's
#              clone, and the owner's next runs work; a build folder with a
#              file of root's (as earlier scripts left it) is refused in one
#              line. Needs root, to act as the second user; skips elsewhere.
# reconfigure  configuring the game again rewrites no file a build step
#              reads, so a second scripts/play builds nothing.
# web-port     scripts/web's server takes the next port when 8080 is in use,
#              and says in one line that a port asked for is in use.
# The first two run the real scripts in a copy of the clone whose CMake
# project is a small stand-in.
set -uo pipefail
# The scripts run here as a newcomer starts them, whatever the caller's
# settings (scripts/test and CI set some of these).
unset "${!ZELVANOS_@}"
case_name=$1
source_dir=$(realpath "$2")
work=$(mktemp -d)
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
passed=0

# A clone with the real scripts and a stand-in project of the same targets:
# its game writes its settings file (replacing it, as the game does) and
# says who ran it.
make_clone() {
  local clone=$1
  mkdir -p "$clone/scripts"
  cp "$source_dir"/scripts/* "$clone/scripts/"
  cat >"$clone/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.25)
project(stand_in C)
option(ZELVANOS_TESTS "" ON)
option(ZELVANOS_BENCHMARKS "" ON)
add_executable(zelvanos game.c)
add_custom_target(stage ALL COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/run/Data)
foreach(target zelvanos-beallitasok zelvanos-questions zelvanos-replay banks sounds)
  add_custom_target(${target} ALL)
endforeach()
if(ZELVANOS_TESTS)
  enable_testing()
  add_test(NAME stand_in COMMAND sh -c "id -u >tested-by")
endif()
EOF
  cat >"$clone/game.c" <<'EOF'
#include <stdio.h>
#include <unistd.h>
int main(void) {
  FILE* f = fopen("Data/Config.cfg.new", "w");
  if (f == NULL || fputs("settings\n", f) < 0 || fclose(f) != 0) return 5;
  if (rename("Data/Config.cfg.new", "Data/Config.cfg") != 0) return 5;
  printf("played by %d\n", (int)getuid());
  return 0;
}
EOF
}

# Stand-ins for dpkg-query (the packages in $MISSING are not installed) and
# apt-get (logs its arguments to $APT_LOG, answers as apt-get does, and
# fails when $APT_FAILS is set).
bin=$work/bin
mkdir -p "$bin"
cat >"$bin/dpkg-query" <<'EOF'
#!/bin/sh
for p in ${MISSING:-}; do [ "$p" = "$3" ] && exit 1; done
printf 'install ok installed'
EOF
cat >"$bin/apt-get" <<'EOF'
#!/bin/sh
echo "$*" >>"$APT_LOG"
[ "$1" = update ] && { echo "Reading package lists..."; exit 0; }
[ -n "${APT_FAILS:-}" ] && { echo "E: Unable to locate package nosuch"; exit 100; }
echo "Reading package lists..."
echo "0 upgraded, 2 newly installed, 0 to remove and 0 not upgraded."
echo "Need to get 1,024 kB of archives."
echo "Get:1 http://deb.example stable/main amd64 first 1.0 [512 kB]"
echo "Get:2 http://deb.example stable/main amd64 second 1.0 [512 kB]"
echo "Setting up first (1.0) ..."
echo "Setting up second (1.0) ..."
EOF
chmod 755 "$bin"/*
mkdir -m 777 "$work/log"
export PATH=$bin:$PATH APT_LOG=$work/log/apt.log

case $case_name in
packages)
  make_clone "$work/clone"
  clone=$work/clone
  # As root: installed with a line per package, then built and started.
  if [ "$(id -u)" -eq 0 ]; then
    MISSING="libsdl2-dev libpng-dev" "$clone/scripts/play" >"$work/out" 2>&1 || fail "scripts/play: $(cat "$work/out")"
    grep -q "libsdl2-dev libpng-dev" "$work/out" || fail "what is installed is not said: $(cat "$work/out")"
    grep -q "^  \[1/2\] set up first" "$work/out" && grep -q "^  \[2/2\] set up second" "$work/out" ||
      fail "no progress shown: $(cat "$work/out")"
    grep -q "^install -y .*libsdl2-dev libpng-dev" "$APT_LOG" || fail "apt-get was asked: $(cat "$APT_LOG")"
    grep -q "played by 0" "$work/out" || fail "the game did not start: $(cat "$work/out")"
    passed=$((passed + 1))
    # What packaging and all the tests ask for.
    : >"$APT_LOG"
    MISSING="lintian" APT_FAILS=1 "$clone/scripts/package" >"$work/out" 2>&1 && fail "a failed install went on"
    grep -q "lintian" "$APT_LOG" || fail "scripts/package does not install lintian: $(cat "$APT_LOG")"
    grep -q "as root, run: apt-get install lintian" "$work/out" || fail "no command for root: $(cat "$work/out")"
    : >"$APT_LOG"
    MISSING="clang-tidy emscripten chromium" APT_FAILS=1 "$clone/scripts/test" >"$work/out" 2>&1
    grep -q "install -y .*clang-tidy emscripten chromium" "$APT_LOG" ||
      fail "scripts/test does not install what lint and the browser tests need: $(cat "$APT_LOG")"
    passed=$((passed + 1))
  fi
  # Without root and sudo: the packages and the command named, nothing built.
  if [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null; then
    echo "(sudo is installed: the case without it is left out)"
  else
    runner=()
    if [ "$(id -u)" -eq 0 ]; then
      chown -R 65534:65534 "$clone"
      runner=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$work")
    fi
    : >"$APT_LOG"
    status=0
    "${runner[@]}" env MISSING="libsdl2-dev" "$clone/scripts/play" >"$work/out" 2>&1 || status=$?
    [ $status -eq 1 ] || fail "exit $status without root: $(cat "$work/out")"
    grep -q "missing: libsdl2-dev" "$work/out" && grep -q "as root, run: apt-get install libsdl2-dev" "$work/out" ||
      fail "the packages or root's command are not named: $(cat "$work/out")"
    [ ! -s "$APT_LOG" ] || fail "apt-get ran without root"
    passed=$((passed + 1))
  fi
  ;;

ownership)
  [ "$(id -u)" -eq 0 ] || { echo "SKIP: needs root, to run the scripts as root and as a second user"; exit 77; }
  clone=$work/clone
  make_clone "$clone"
  chown -R 65534:65534 "$clone"
  as_owner() { setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$work" "$@"; }
  not_owners() { find "$clone" ! -user 65534 | head -n 3; }

  "$clone/scripts/play" >"$work/out" 2>&1 || fail "root's scripts/play: $(cat "$work/out")"
  grep -q "played by 0" "$work/out" || fail "root's game did not run: $(cat "$work/out")"
  [ -z "$(not_owners)" ] || fail "root's scripts/play left files of root's: $(not_owners)"
  as_owner "$clone/scripts/play" >"$work/out" 2>&1 || fail "the owner's scripts/play after root's: $(cat "$work/out")"
  grep -q "played by 65534" "$work/out" || fail "the owner's game did not run: $(cat "$work/out")"
  passed=$((passed + 1))

  ZELVANOS_TEST_PARTS=ctest "$clone/scripts/test" >"$work/out" 2>&1 || fail "root's scripts/test: $(cat "$work/out")"
  [ -z "$(not_owners)" ] || fail "root's scripts/test left files of root's: $(not_owners)"
  as_owner env ZELVANOS_TEST_PARTS=ctest "$clone/scripts/test" >"$work/out" 2>&1 ||
    fail "the owner's scripts/test after root's: $(cat "$work/out")"
  [ "$(cat "$clone/build/tested-by")" = 65534 ] || fail "the owner's tests did not run"
  as_owner "$clone/scripts/play" >"$work/out" 2>&1 || fail "the owner's scripts/play after scripts/test: $(cat "$work/out")"
  passed=$((passed + 1))

  # Root's `cmake --install` leaves files of root's in build/; they do not matter.
  cmake --install "$clone/build" --prefix "$work/installed" >"$work/out" 2>&1 || fail "cmake --install: $(cat "$work/out")"
  as_owner "$clone/scripts/play" >"$work/out" 2>&1 || fail "the owner's scripts/play after an installation: $(cat "$work/out")"
  # A build folder holding a folder of root's (as earlier scripts left it):
  # one line, and how to mend it.
  mkdir "$clone/build/left-by-root"
  status=0
  as_owner "$clone/scripts/play" >"$work/out" 2>&1 || status=$?
  [ $status -eq 1 ] || fail "exit $status with a file of root's in build/: $(cat "$work/out")"
  [ "$(wc -l <"$work/out")" -eq 1 ] && grep -q "as root, run: chown -R" "$work/out" ||
    fail "not one line naming the mend: $(cat "$work/out")"
  passed=$((passed + 1))
  ;;

reconfigure)
  build=$work/build
  cmake -S "$source_dir" -B "$build" -G Ninja -DZELVANOS_TESTS=OFF -DZELVANOS_BENCHMARKS=OFF >"$work/out" 2>&1 ||
    fail "cannot configure: $(cat "$work/out")"
  touch "$work/stamp"
  cmake -S "$source_dir" -B "$build" -G Ninja -DZELVANOS_TESTS=OFF -DZELVANOS_BENCHMARKS=OFF >"$work/out" 2>&1 ||
    fail "cannot configure again: $(cat "$work/out")"
  # CMake's own files aside, whatever configuring writes is an input of a build step.
  rewritten=$(find "$build" -type f -newer "$work/stamp" ! -path '*/CMakeFiles/*' ! -name '*.cmake' \
                ! -name CMakeCache.txt ! -name build.ninja ! -name compile_commands.json ! -name '*.tcl')
  [ -z "$rewritten" ] || fail "configuring again rewrote: ${rewritten//$build\//}"
  passed=$((passed + 1))
  ;;

web-port)
  command -v python3 >/dev/null || { echo "SKIP: python3 is not installed"; exit 77; }
  mkdir "$work/site" && echo page >"$work/site/index.html"
  # Holds a port (the one given, or any free one) until killed; prints it.
  cat >"$work/hold.py" <<'EOF'
import socket, sys, time
s = socket.socket()
s.bind(("127.0.0.1", int(sys.argv[1])))
s.listen()
print(s.getsockname()[1], flush=True)
time.sleep(600)
EOF
  poll() { local i; for i in $(seq 100); do "$@" && return 0; sleep 0.1; done; return 1; }
  python3 "$work/hold.py" 0 >"$work/held" &
  holder=$!
  poll grep -q '[0-9]' "$work/held" || fail "cannot hold a port"
  port=$(cat "$work/held")
  status=0
  ZELVANOS_WEB_PORT=$port timeout 20 python3 "$source_dir/scripts/serve.py" "$work/site" >"$work/out" 2>&1 || status=$?
  kill $holder
  [ $status -eq 1 ] || fail "exit $status on a busy port: $(cat "$work/out")"
  [ "$(wc -l <"$work/out")" -eq 1 ] && grep -q "port $port is in use" "$work/out" ||
    fail "not one line on a busy port: $(cat "$work/out")"
  passed=$((passed + 1))

  # 8080 held here (or in use already, when the holder ends at once).
  python3 "$work/hold.py" 8080 >"$work/held" 2>/dev/null &
  holder=$!
  poll eval 'grep -q 8080 "$work/held" || ! kill -0 $holder 2>/dev/null' || fail "cannot hold port 8080"
  env -u ZELVANOS_WEB_PORT python3 "$source_dir/scripts/serve.py" "$work/site" >"$work/out" 2>&1 &
  server=$!
  poll grep -q "^Serving" "$work/out" || { kill $server $holder; fail "not served: $(cat "$work/out")"; }
  url=$(grep -o 'http://[^/]*/' "$work/out")
  page=$(python3 -c 'import sys, urllib.request; print(urllib.request.urlopen(sys.argv[1]).read().decode().strip())' "$url")
  kill $server $holder 2>/dev/null
  wait $server 2>/dev/null
  [ "$page" = page ] || fail "nothing served at $url"
  [ "$url" != "http://127.0.0.1:8080/" ] || fail "served on the busy port 8080"
  grep -q "port 8080 is in use" "$work/out" || fail "the other port is not explained: $(cat "$work/out")"
  passed=$((passed + 1))
  ;;
*) fail "unknown case $case_name" ;;
esac
echo "$passed passed, 0 failed"
