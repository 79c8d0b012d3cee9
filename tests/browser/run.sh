#!/usr/bin/env bash
# The browser tests of the published site. Usage: run.sh VELKMOD_CLI ARTIFACT_DIR
# Without chromium or the node modules (tools/deps.sh --browser, then npm ci in
# tests/browser) they are skipped (exit 77), except on CI where they must run.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
missing=""
[ -x /usr/bin/chromium ] || missing="Debian's chromium"
[ -d "$here/node_modules/playwright-core" ] || missing="${missing:+$missing and }the node modules of tests/browser"
if [ -n "$missing" ]; then
  echo "browser tests need $missing: run tools/deps.sh --browser and npm ci in tests/browser"
  [ "${CI:-}" = "true" ] && exit 1
  exit 77
fi
cli="$(realpath "$1")"
mkdir -p "$2"
artifacts="$(realpath "$2")"
cd "$here"
VELKMOD_CLI="$cli" VELK_ARTIFACTS="$artifacts" exec node --test --test-reporter=tap publish.test.mjs
