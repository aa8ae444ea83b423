#!/usr/bin/env bash
# The main job: installs what is missing, builds, writes the sample recordings, starts the instrument
# simulator on 127.0.0.1 and opens Zarno against it (its settings in a private folder), with the
# simulator's sample site measured in the site window beside the file manager, and a folder of SEG-Y
# recordings in the right panel: double click one to see its traces. Choose "z:\"
# in a panel's drive list to see the instrument's disk beside the computer's. Closing Zarno ends the
# simulator. The command-line walk through the same path is scripts/cli-demo.sh.
# usage: scripts/demo.sh [--lang ru|en]   (default: the desktop's language)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
bin="$root/build/bin"
# The language asked for reaches every program started here, the simulator and the walk included.
if [ "${1:-}" = "--lang" ] && [ -n "${2:-}" ]; then
    case "$2" in ru | en) export ZARNO_LANGUAGE=$2 ;; *) echo "demo.sh: --lang ru|en" >&2; exit 2 ;; esac
fi

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    # Nobody could see or close a window here: walk the same path on the command line instead.
    echo "== no display: the desktop program needs one; here is the same path on the command line" >&2
    exec bash scripts/cli-demo.sh
fi

source scripts/instrument-session.sh
start_instrument
write_zarno_settings
show_sample_sgy_folder
copy_sample_site
echo "== $(head -1 "$work/device.log")"
echo "== zarno: the site window shows the sample site $site_dir; Enter on a pile opens it in the viewer"
echo "== zarno: double click PILE12 in the right panel to open it in the signal viewer"
echo "== zarno: choose \"z:\\\" in a drive list to open the instrument's disk"
"$bin/zarno" "$site_dir"
