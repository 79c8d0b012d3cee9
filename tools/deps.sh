#!/usr/bin/env bash
# Installs the Debian 12 packages VelkMod needs to build, test and run, when missing.
# Idempotent; needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkgconf
  libsqlite3-dev libpq-dev postgresql nlohmann-json3-dev libgtest-dev libgmock-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  qt6-qpa-plugins fonts-dejavu-core libgraphviz-dev
)
[ "${1:-}" = "--gui-tools" ] && packages+=(xvfb poppler-utils)
[ "${1:-}" = "--fuzz" ] && packages+=(clang-19 libfuzzer-19-dev libclang-rt-19-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
