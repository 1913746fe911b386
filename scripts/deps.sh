#!/usr/bin/env bash
# Installs the Debian packages that building and testing Tarvik need, when
# they are missing. Uses sudo when not run as root.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools
          qt6-translations-l10n libgl1-mesa-dev fonts-liberation2 xvfb xauth ccache locales
          clang-format libical-dev python3-vobject python3-icalendar
          radicale apache2-utils qtkeychain-qt6-dev)
case "${1:-}" in
--bench) packages+=(libbenchmark-dev) ;;
--package) packages+=(dpkg-dev fakeroot file lintian appstream desktop-file-utils) ;;
--fuzz) packages+=(clang libclang-rt-14-dev) ;;
esac

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -ne 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests also run under the French locale of the program's users, whose
# decimal separator is a comma: generate it when the machine lacks it.
if ! locale -a 2>/dev/null | grep -qix 'fr_FR\.utf-\?8'; then
    echo "Generating the fr_FR.UTF-8 locale"
    if grep -q '^# *fr_FR.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        $sudo sed -i 's/^# *\(fr_FR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    elif ! grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo 'fr_FR.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    fi
    $sudo locale-gen
fi
