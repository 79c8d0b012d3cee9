#!/usr/bin/env bash
# Builds the Release Debian package of velkmod and velkmod-cli (stripped, with
# man pages, icons, desktop entry and AppStream metadata) into build-package/,
# then checks it: its metadata with appstreamcli, the package with lintian.
# Usage: tools/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --package
cmake --preset package
cmake --build --preset package
rm -f build-package/velkmod_*.deb
(cd build-package && cpack -G DEB >/dev/null)
deb=$(ls build-package/velkmod_*.deb)

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
appstreamcli validate --no-net --pedantic "$root"/usr/share/metainfo/*.metainfo.xml
desktop-file-validate "$root"/usr/share/applications/velkmod.desktop
# Errors fail the package; warnings and notes are shown.
lintian --fail-on error --tag-display-limit 0 "$deb"
echo "Built $deb ($(du -k "$deb" | cut -f1) KiB; installed $(dpkg-deb -f "$deb" Installed-Size) KiB)"
