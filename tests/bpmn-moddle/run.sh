#!/usr/bin/env bash
# The BPMN files of velkmod-cli read by bpmn-moddle, a BPMN library of its own.
# Usage: run.sh VELKMOD_CLI. Without node or the node modules (npm ci in
# tests/bpmn-moddle) it is skipped (exit 77), except on CI where it must run.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if ! command -v node >/dev/null || [ ! -d "$here/node_modules/bpmn-moddle" ]; then
  echo "the bpmn-moddle test needs node and the node modules of tests/bpmn-moddle: run npm ci there"
  [ "${CI:-}" = "true" ] && exit 1
  exit 77
fi
cli="$(realpath "$1")"
cd "$here"
VELKMOD_CLI="$cli" exec node --test --test-reporter=tap read.test.mjs
