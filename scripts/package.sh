#!/usr/bin/env bash
# Builds the Debian package of Tarvik: build/release/tarvik_<version>_amd64.deb.
# With --check, also runs lintian, appstreamcli and desktop-file-validate on it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --package
export CCACHE_BASEDIR="$(pwd)" CCACHE_NOHASHDIR=1
cmake --preset release >/dev/null
cmake --build --preset release
cpack --preset release
deb=$(ls build/release/tarvik_*_amd64.deb)
echo "$deb"
if [ "${1:-}" = "--check" ]; then
    lintian --fail-on error "$deb"
    appstreamcli validate --no-net build/release/packaging/fr.tarvik.Tarvik.metainfo.xml
    desktop-file-validate packaging/fr.tarvik.Tarvik.desktop
fi
