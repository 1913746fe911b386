#!/usr/bin/env bash
# The figures of the large-file work, measured in one run on the same file:
# the program's benchmarks beside the floors they are held against (`wc -l` of
# the file, GNU `sort -f` of its names under fr_FR.UTF-8), the peak memory of
# the real program offscreen started on the file, and its start to first
# record. Needs `cmake --preset bench && cmake --build --preset bench`.
#   bench/figures.sh [BUILD_DIR] [RUNS]
# PARTS (default "floors app bench") picks what is measured.
set -euo pipefail
build=$(realpath "${1:-build/bench}")
runs=${2:-5}
parts=${PARTS:-floors app bench}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
# CPU time (user + system) of a command, in milliseconds (bash's own timing
# of the child, to the millisecond), median of $runs.
cpu_ms() {
    local TIMEFORMAT='%3U %3S'
    for _ in $(seq "$runs"); do
        { time "$@" >/dev/null; } 2>&1 | awk '{printf "%.0f\n", ($1 + $2) * 1000}'
    done | median
}
wall_ms() {
    for _ in $(seq "$runs"); do
        local t0 t1
        t0=$(date +%s%N)
        "$@" >/dev/null
        t1=$(date +%s%N)
        echo $(((t1 - t0) / 1000000))
    done | median
}

for count in 9999 89998; do
    file="$work/realistic$count.ctc"
    "$build/bench/bench_large_file" --write="$file" "$count"
    "$build/bench/bench_large_file" --names="$work/names$count.txt" "$count"
    cat "$file" >/dev/null # in the page cache, as for the program
    echo "== $count records: $(stat -c %s "$file") bytes, $(wc -l <"$file") lines"
    if [[ $parts == *floors* ]]; then
    echo "wc -l CPU ms (median of $runs): $(cpu_ms wc -l "$file")"
    echo "sort -f of the names, fr_FR.UTF-8, wall ms: $(LC_ALL=fr_FR.UTF-8 wall_ms sort -f "$work/names$count.txt")" \
         "CPU ms: $(LC_ALL=fr_FR.UTF-8 cpu_ms sort -f "$work/names$count.txt")"

    fi
    [[ $parts == *app* ]] || continue
    # The real program, offscreen, started on the file in a scratch program
    # folder; stopped once it has shown the file for a few seconds.
    for _ in $(seq "$runs"); do
        dir=$(mktemp -d -p "$work")
        cp "$file" "$dir/f.ctc"
        (cd "$dir" && QT_QPA_PLATFORM=offscreen /usr/bin/time -v -o "$work/v" \
            timeout -s INT 12 "$build/tarvik" f.ctc >/dev/null 2>&1 || true)
        awk -F': ' '/Maximum resident set size/ {print $2}' "$work/v"
    done | median | awk '{printf "tarvik peak memory (max RSS, /usr/bin/time -v): %.1f MB\n", $1 / 1024}'

    for _ in $(seq "$runs"); do
        dir=$(mktemp -d -p "$work")
        cp "$file" "$dir/f.ctc"
        (cd "$dir" && QT_QPA_PLATFORM=offscreen "$build/bench/bench_first_record" f.ctc "$(date +%s%N)" 2>/dev/null)
    done | tee "$work/first" >&2
    awk '{print $2}' "$work/first" | median | awk '{print "start to first record ms (median): " $1}'
    awk '{print $6}' "$work/first" | median | awk '{printf "VmHWM at first record: %.1f MB\n", $1 / 1024}'
done

[[ $parts == *bench* ]] || exit 0
echo "== benchmarks"
"$build/bench/bench_large_file" --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true \
    --benchmark_filter="${BENCH_FILTER:-.}" 2>&1 | grep -E 'median|^Benchmark|^---'
