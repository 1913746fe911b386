#!/usr/bin/env bash
# Builds Tarvik with its tests and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
# A compiler cache, when there is one, keyed on paths relative to the checkout.
export CCACHE_BASEDIR="$(pwd)" CCACHE_NOHASHDIR=1
cmake --preset dev
cmake --build --preset dev
ctest --preset dev
