#!/usr/bin/env bash
# Builds Tarvik and starts it on the demo contact file, in a demo program
# folder whose settings open that file automatically.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target tarvik

demo="$root/build/demo"
mkdir -p "$demo"
# The demo files are copied afresh unless the demo folder already has them,
# so the changes made while trying the program are kept between runs.
for f in demo.ctc demo.opr Tarvik.cbx Tarvik.soc; do
    [ -f "$demo/$f" ] || cp "$root/examples/$f" "$demo/$f"
done
if [ ! -f "$demo/Tarvik.ini" ]; then
    printf ' 0.00000000000000E+0000\r\n%s\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n\r\n\r\n' \
        "$demo/demo.ctc" > "$demo/Tarvik.ini"
fi

cd "$demo"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display is available to show Tarvik's window."
    echo "Run it on a virtual display instead:"
    echo "    cd $demo && xvfb-run -a -s '-screen 0 1024x768x24' $root/build/dev/tarvik"
    echo "or, from the repository: xvfb-run -a scripts/run-demo.sh"
    exit 1
fi
exec "$root/build/dev/tarvik"
