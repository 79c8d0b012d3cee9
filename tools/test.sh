#!/usr/bin/env bash
# Builds VelkMod and runs every test. Usage: tools/test.sh [preset]  (default, ci, asan)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
tools/deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset"
QT_QPA_PLATFORM=offscreen ctest --preset "$preset" --output-on-failure
