#!/bin/sh
# Medians, over N runs (default 5), of the time from process start to the splash
# window shown and to the main window shown (after the splash's five ticks).
# It runs the start-up probe, the same start-up that reports and then quits.
# usage: bench/startup.sh [build-folder] [runs]
build=${1:-build}
runs=${2:-5}
out=$(mktemp)
i=0
while [ "$i" -lt "$runs" ]; do
    QT_QPA_PLATFORM=offscreen "$build/bin/qorvel3d-startupprobe" >>"$out" 2>/dev/null
    i=$((i + 1))
done
for what in splash-shown main-shown; do
    sed -n "s/^$what-ms: //p" "$out" | sort -n |
        awk -v what="$what" '{ v[NR] = $1 } END { printf "%s: median %d ms over %d runs\n", what, v[int((NR + 1) / 2)], NR }'
done
rm -f "$out"
