#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The web page's tests in headless Chromium: installs emscripten and
# Chromium from Debian when missing, builds the page and the native replay
# tool, installs the pinned puppeteer-core (package-lock.json) and runs
# the tests; `bench` instead of the tests runs the benchmark, which needs
# Lighthouse and axe-core besides (the lock file's development packages).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
install_missing emscripten chromium
command -v npm >/dev/null || install_missing npm
"$ROOT/scripts/web" --build-only
cmake --build "$BUILD" --target zelvanos-replay zelvanos-factory-files
cd "$ROOT/tests/web"
if [ "${1:-}" = bench ]; then
  npm ci --no-audit --no-fund --loglevel=error
  node bench.js
else
  npm ci --omit=dev --no-audit --no-fund --loglevel=error
  node --test web.test.js
fi
