#!/usr/bin/env bash
# Remakes docs/screenshot.png: the main window under Xvfb with the left panel on the instrument
# simulator's disk (the sample recordings, served on 127.0.0.1).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
bin="$root/build/bin"

source scripts/instrument-session.sh
start_instrument
write_zarno_settings
# The right panel shows a computer folder with a few recordings converted to SEG-Y.
mkdir -p "$work/pc"
"$bin/zarno-cli" convert -o "$work/pc" "$work/instrument/PILE12.DDB" "$work/instrument/PILE18.DDB" \
    "$work/instrument/DEFECT12.DDB" >/dev/null
cat >> "$XDG_CONFIG_HOME/Mervo/Zarno.conf" <<INI

[Window%20size]
Splitter%20X%20Pos=500
Current%20Right%20Directory=$work/pc
INI
mkdir -p docs
xvfb-run -a -s "-screen 0 1280x800x24" "$bin/zarno-screenshot" "$root/docs/screenshot.png"
echo "docs/screenshot.png"
