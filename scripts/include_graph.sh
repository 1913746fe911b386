#!/usr/bin/env bash
# Which folder of src/ includes which: one line per pair, with the number of
# #include lines behind it, and the layer of each side. With --check, fails
# (exit 1) on every edge that does not run downwards, and lists them.
#
# The layers, from the bottom: the platform; the storage layer (block lists,
# integrity, encoding, dates, money); the features that own a file (contacts,
# operations, settings); the features that read them (activity, selection);
# the ones that read those (print, exchange, tools); the sync with a server,
# which builds on the exchange formats; the record book facade.
# The windows sit above the whole core: the shared widget kit first, then each
# feature's ui/ in the order of its feature; the main window is the top.
# A folder includes only folders of a lower layer.
set -euo pipefail
cd "$(dirname "$0")/../src"
check=0
[ "${1:-}" = "--check" ] && check=1

grep -rn --include='*.h' --include='*.cpp' '^#include "' . |
  sed -E 's|^\./([^:]+):[0-9]+:#include "([^"]+)".*|\1 \2|' |
  awk -v check="$check" '
  function area(path,   n, a) {
    n = split(path, a, "/");
    if (n > 2 && a[2] == "ui") return a[1] "/ui";
    if (n > 2 && a[1] == "tools" && a[2] == "rtf") return "tools";
    return a[1];
  }
  BEGIN {
    layer["platform"] = 0;
    layer["storage"] = 1;
    layer["contacts"] = 2; layer["operations"] = 2; layer["settings"] = 2;
    layer["activity"] = 3; layer["selection"] = 3;
    layer["print"] = 4; layer["exchange"] = 4; layer["tools"] = 4;
    layer["sync"] = 5;
    layer["book"] = 6;
    layer["platform/ui"] = 10;
    layer["contacts/ui"] = 12; layer["operations/ui"] = 11; layer["settings/ui"] = 11;
    layer["activity/ui"] = 13; layer["selection/ui"] = 13;
    layer["print/ui"] = 14; layer["exchange/ui"] = 14; layer["sync/ui"] = 14; layer["tools/ui"] = 15;
    layer["app"] = 20;
  }
  {
    from = area($1); to = area($2);
    if (from == to) next;
    edges[from " -> " to]++;
    if (!(from in layer) || !(to in layer) || layer[to] >= layer[from])
      bad[from " -> " to " (" $1 " includes " $2 ")"] = 1;
  }
  END {
    for (e in edges) printf "%7d %s\n", edges[e], e | "sort -k2";
    close("sort -k2");
    nbad = 0;
    for (b in bad) { if (!nbad) print "\nEdges that do not run downwards:"; print "  " b; nbad++ }
    if (check && nbad) exit 1;
    if (!nbad) print "\nEvery edge runs downwards."
  }'
