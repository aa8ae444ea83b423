#!/usr/bin/env bash
# zarno-cli as a user runs it, each command timed beside a baseline in the same run (whole processes,
# start included), and their ratios:
#  - start-up: `zarno-cli --version` against `true` (a process that loads nothing); goal: at most 15 ms;
#  - convert: `zarno-cli convert` of a 256-channel, 65535-sample DDB (67 MB of SEG-Y) against a
#    durable copy of the same output bytes, `dd conv=fdatasync`; goal: a ratio of at most 1.6. Both end
#    with the data synced to the disk;
#  - render: `zarno-cli render` of the largest recording the instrument makes (two traces of 65535
#    samples) at 1920 x 1080 against matplotlib's Agg drawing the same traces stacked with a grid
#    (render_peer.py); goal: a ratio of at most 0.3;
#  - measure: `zarno-cli measure` of that recording against a numpy peer doing the same read and
#    reflection search (measure_peer.py); zarno-cli also runs the toe finder on every trace, which the
#    peer does not. Goal: a ratio of at most 0.5.
#
# usage: bench/cli_speed.sh [BUILD_DIR]   (default build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="${1:-$root/build}/bin"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
# Debian's interpreter, where python3-numpy and python3-matplotlib are installed.
python=/usr/bin/python3

# Best of several runs, in microseconds: the least disturbed by other work on a shared machine.
best_us() {
    local runs=$1 best=999999999 i start end us
    shift
    for ((i = 0; i < runs; ++i)); do
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        us=$(((end - start) / 1000))
        ((us < best)) && best=$us
    done
    echo "$best"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / (b > 0 ? b : 1) }'; }
ms() { awk -v u="$1" 'BEGIN { printf "%.1f", u / 1000 }'; }

startup() {
    local cli floor
    cli=$(best_us 21 "$bin/zarno-cli" --version)
    floor=$(best_us 21 /bin/true)
    echo "zarno-cli --version: best $(ms "$cli") ms; /bin/true: best $(ms "$floor") ms"
    echo "ratio start-up zarno-cli/true: $(ratio "$cli" "$floor"); start-up $(ms "$cli") ms (goal <= 15 ms)"
}

convert() {
    "$bin/ddb_convert_bench" --write-recording "$work/BIG.DDB"
    mkdir "$work/out"
    "$bin/zarno-cli" convert -o "$work/out" "$work/BIG.DDB"
    local sgy="$work/out/BIG.sgy" convert_best=999999999 copy_best=999999999 us round
    echo "DDB $(stat -c %s "$work/BIG.DDB") bytes -> SEG-Y $(stat -c %s "$sgy") bytes"
    # Each writes a new file: removing the last round's 67 MB is not part of either.
    cp "$sgy" "$work/reference.sgy"
    for round in 1 2 3 4 5 6 7; do
        rm -f "$work/copy.sgy"
        us=$(best_us 1 dd if="$work/reference.sgy" of="$work/copy.sgy" bs=4M conv=fdatasync status=none)
        ((us < copy_best)) && copy_best=$us
        rm -f "$sgy"
        us=$(best_us 1 "$bin/zarno-cli" convert -o "$work/out" "$work/BIG.DDB")
        ((us < convert_best)) && convert_best=$us
    done
    cmp -s "$sgy" "$work/copy.sgy" || { echo "cli_speed: the copy differs from the conversion" >&2; exit 1; }
    rm -f "$work/BIG.DDB" "$work/reference.sgy" "$work/copy.sgy" "$sgy"
    echo "zarno-cli convert: best $(ms "$convert_best") ms; dd conv=fdatasync: best $(ms "$copy_best") ms"
    echo "ratio convert/durable copy: $(ratio "$convert_best" "$copy_best") (goal <= 1.6)"
}

# The largest recording the instrument makes, as SEG-Y.
largest() {
    "$bin/reflection_bench" "$work/LARGEST.DDB" >/dev/null
    "$bin/zarno-cli" convert -o "$work" "$work/LARGEST.DDB" >/dev/null
}

render() {
    local sgy="$work/LARGEST.sgy" zarno peer
    zarno=$(best_us 7 "$bin/zarno-cli" render --width 1920 --height 1080 -o "$work/zarno.png" "$sgy")
    peer=$(best_us 7 "$python" "$root/bench/render_peer.py" "$sgy" "$work/peer.png" 1920 1080)
    echo "zarno-cli render: best $(ms "$zarno") ms; matplotlib Agg: best $(ms "$peer") ms"
    echo "ratio render zarno/matplotlib: $(ratio "$zarno" "$peer") (goal <= 0.3)"
}

measure() {
    local sgy="$work/LARGEST.sgy" zarno peer
    "$bin/zarno-cli" measure "$sgy" | tail -n +3
    "$python" "$root/bench/measure_peer.py" "$sgy"
    zarno=$(best_us 7 "$bin/zarno-cli" measure "$sgy")
    peer=$(best_us 7 "$python" "$root/bench/measure_peer.py" "$sgy")
    echo "zarno-cli measure: best $(ms "$zarno") ms; numpy peer: best $(ms "$peer") ms"
    echo "ratio measure zarno/numpy: $(ratio "$zarno" "$peer") (goal <= 0.5)"
}

echo "== start-up"
startup
echo "== convert"
convert
largest
echo "== render"
render
echo "== measure"
measure
