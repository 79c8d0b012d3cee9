#!/usr/bin/env bash
# Builds VelkMod and runs every test. Usage: tools/test.sh [preset]  (default, ci, asan)
# The package test needs the package of tools/package.sh (CI builds it first);
# without one it is skipped.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
tools/deps.sh --browser
# The browser tests' driver, from the npm registry into tests/browser/node_modules.
[ -d tests/browser/node_modules/playwright-core ] || (cd tests/browser && npm ci --no-audit --no-fund)
# bpmn-moddle, which reads the BPMN files of velkmod-cli in a test of their own.
[ -d tests/bpmn-moddle/node_modules/bpmn-moddle ] || (cd tests/bpmn-moddle && npm ci --no-audit --no-fund)
cmake --preset "$preset"
cmake --build --preset "$preset"
QT_QPA_PLATFORM=offscreen ctest --preset "$preset" --output-on-failure
