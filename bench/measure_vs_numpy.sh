#!/usr/bin/env bash
# `zarno-cli measure` on the largest recording the instrument makes (two traces of 65535 samples)
# against a numpy peer doing the same read and search (measure_peer.py), timed side by side in one run,
# interpreter and program start included. zarno-cli also runs the toe finder on every trace, which the
# peer does not. Goal: a ratio zarno/numpy of at most 1.
#
# usage: bench/measure_vs_numpy.sh [BUILD_DIR]   (default build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="${1:-$root/build}/bin"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bin/reflection_bench" "$work/LARGEST.DDB" >/dev/null
"$bin/zarno-cli" convert -o "$work" "$work/LARGEST.DDB" >/dev/null
sgy="$work/LARGEST.sgy"
export XDG_CONFIG_HOME="$work/config"
# Debian's interpreter, where python3-numpy is installed.
python=/usr/bin/python3

# Best of several runs: the least disturbed by other work on a shared machine.
best() {
    local best=999999 i start end ms
    for i in 1 2 3 4 5 6 7; do
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        ms=$(((end - start) / 1000000))
        ((ms < best)) && best=$ms
    done
    echo "$best"
}

echo "== zarno-cli measure"
"$bin/zarno-cli" measure "$sgy" | tail -n +3
echo "== numpy peer"
"$python" "$root/bench/measure_peer.py" "$sgy"
zarno=$(best "$bin/zarno-cli" measure "$sgy")
peer=$(best "$python" "$root/bench/measure_peer.py" "$sgy")
echo "zarno-cli measure: best ${zarno} ms; numpy peer: best ${peer} ms"
awk -v z="$zarno" -v p="$peer" 'BEGIN { printf "ratio zarno/numpy: %.2f (goal <= 1)\n", z / (p > 0 ? p : 1) }'
