#!/usr/bin/env bash
# Which folder of src/ includes which: one line per pair, with the number of
# #include lines behind it. store/ must include no folder but platform/.
set -euo pipefail
cd "$(dirname "$0")/../src"
grep -rn --include='*.h' --include='*.cpp' '^#include "' . |
  sed -E 's|^\./([^:]+):[0-9]+:#include "([^"]+)".*|\1 \2|' |
  awk '{
    n = split($1, a, "/"); from = a[1]; if (n > 2 && a[2] == "ui") from = from "/ui";
    m = split($2, b, "/"); to = b[1]; if (m > 2 && b[2] == "ui") to = to "/ui";
    if (from != to) print from " -> " to
  }' | sort | uniq -c
