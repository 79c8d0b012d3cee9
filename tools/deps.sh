#!/usr/bin/env bash
# Installs the Debian 12 packages VelkMod needs to build, test and run, when missing;
# --package adds what tools/package.sh needs, --browser what the browser tests need.
# Idempotent; needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkgconf
  libsqlite3-dev libpq-dev postgresql nlohmann-json3-dev libgtest-dev libgmock-dev libxml2-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  qt6-qpa-plugins fonts-dejavu-core libgraphviz-dev libctemplate-dev
)
for option in "$@"; do
  case "$option" in
    --gui-tools) packages+=(xvfb poppler-utils) ;;
    --fuzz) packages+=(clang-19 libfuzzer-19-dev libclang-rt-19-dev) ;;
    --package) packages+=(dpkg-dev help2man librsvg2-bin lintian appstream desktop-file-utils) ;;
    # The browser tests drive Debian's chromium with node modules of tests/browser.
    --browser) packages+=(chromium)
               command -v npm >/dev/null || packages+=(npm) ;;
  esac
done

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
