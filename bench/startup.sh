#!/bin/sh
# Median time from process start to the main window shown, over N runs (default 15).
# usage: bench/startup.sh [build-folder] [runs]
build=${1:-build}
runs=${2:-15}
i=0
while [ "$i" -lt "$runs" ]; do
    QT_QPA_PLATFORM=offscreen QORVEL3D_STARTUP_PROBE=1 "$build/bin/qorvel3d" | sed -n 's/^startup-ms: //p'
    i=$((i + 1))
done | sort -n | awk '{ v[NR] = $1 } END { printf "startup to main window shown: median %d ms over %d runs\n", v[int((NR + 1) / 2)], NR }'
