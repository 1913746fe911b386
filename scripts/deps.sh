#!/usr/bin/env bash
# Installs the Debian packages that building and testing Tarvik need, when
# they are missing. Uses sudo when not run as root.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools
          qt6-translations-l10n libgl1-mesa-dev fonts-liberation2 xvfb xauth ccache)
if [ "${1:-}" = "--bench" ]; then
    packages+=(libbenchmark-dev)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
