#!/usr/bin/env bash
# Builds VelkMod, creates the demo repository (once) and starts the modeler on it.
# The demo's databases and settings live in ~/.local/share/velkmod-demo unless
# VELK_DATA_DIR / VELK_SETTINGS say otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake --preset default
cmake --build --preset default
demo="${XDG_DATA_HOME:-$HOME/.local/share}/velkmod-demo"
export VELK_DATA_DIR="${VELK_DATA_DIR:-$demo}"
export VELK_SETTINGS="${VELK_SETTINGS:-$demo/velkmod.conf}"
build/tools/cli/velkmod-cli demo --dir "$VELK_DATA_DIR"
exec build/velkmod "$@"
