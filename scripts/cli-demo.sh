#!/usr/bin/env bash
# The main job, on the command line: installs what is missing, builds, writes the sample recordings,
# starts the instrument simulator on 127.0.0.1, and then, as a user would with zarno-cli, lists the
# instrument's disk, downloads a recording as SEG-Y and measures it, printing the pile length found
# next to the known one: the path beneath the desktop program (scripts/demo.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
bin="$root/build/bin"

source scripts/instrument-session.sh
start_instrument
port=$device_port
echo "== $(head -1 "$work/device.log")"

cli() { "$bin/zarno-cli" device --udp "127.0.0.1:$port" --local-port "$local_port" "$@"; }
echo "== the instrument's disk"
cli info
cli ls
echo "== SITE1 on the instrument"
cli ls SITE1 | sed -n 1,5p
echo "   ..."

mkdir -p "$work/pc"
for recording in PILE12.DDB SITE1/P02.DDB PILE18.DDB; do
    name=$(basename "$recording" .DDB)
    echo "== $recording: download as SEG-Y and measure"
    cli get --sgy "$recording" "$work/pc/$name.sgy"
    "$bin/zarno-cli" measure "$work/pc/$name.sgy"
    known=$(awk -F'\t' -v p="$recording" '$1 == p { print $2 " m (within " $9 " m)" }' "$work/instrument/MANIFEST.TXT")
    echo "   known length: $known"
done
