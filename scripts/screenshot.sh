#!/usr/bin/env bash
# Remakes docs/screenshot.png: the main window under Xvfb with the left panel on the instrument
# simulator's disk (the sample recordings, served on 127.0.0.1), and docs/viewer.png: the signal
# viewer of one of them, converted to SEG-Y; docs/site.png and docs/site-stacked.png: the site window
# on the simulator's sample site; and the user guide's pictures (docs/guide.md).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
bin="$root/build/bin"

source scripts/instrument-session.sh
start_instrument
write_zarno_settings
show_sample_sgy_folder
copy_sample_site
mkdir -p docs
xvfb-run -a -s "-screen 0 1280x800x24" "$bin/zarno-screenshot" "$root/docs/screenshot.png" \
    "$root/docs/viewer.png" "$work/pc/PILE12.sgy"
xvfb-run -a -s "-screen 0 1280x800x24" "$bin/zarno-screenshot" --site "$site_dir" "$root/docs/site.png" \
    "$root/docs/site-stacked.png"
# The user guide's spectrum picture: the two traces of PILE18, drawn off screen.
"$bin/zarno-cli" render --spectrum --width 900 --height 400 -o "$root/docs/fourier.png" "$work/pc/PILE18.sgy"
# ... and its report page: the command-line report of PILE12, its PDF page as a picture.
"$bin/zarno-cli" report -o "$work/report" "$work/pc/PILE12.sgy" 2>/dev/null
pdftoppm -png -r 60 -singlefile "$work/report/report.pdf" "$root/docs/report"
echo "docs/screenshot.png docs/viewer.png docs/site.png docs/site-stacked.png docs/fourier.png docs/report.png"
