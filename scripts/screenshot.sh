#!/usr/bin/env bash
# Remakes docs/screenshot.png: the main window under Xvfb with the left panel on the instrument
# simulator's disk (the sample recordings, served on 127.0.0.1), and docs/viewer.png: the signal
# viewer of one of them, converted to SEG-Y; docs/site.png and docs/site-stacked.png: the site window
# on the simulator's sample site; and the user guide's pictures (docs/guide.md).
# Each in Russian and in English (NAME.en.png).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
bin="$root/build/bin"

source scripts/instrument-session.sh
start_instrument
mkdir -p docs
# Each picture in Russian (docs/NAME.png) and in English (docs/NAME.en.png), whatever this machine's
# locale.
for lang in ru en; do
    suffix=$([ "$lang" = ru ] && echo "" || echo ".$lang")
    # The same start for both: fresh settings, and a folder the viewer has written nothing into.
    rm -rf "$work/pc"
    write_zarno_settings
    show_sample_sgy_folder
    copy_sample_site
    xvfb-run -a -s "-screen 0 1280x800x24" "$bin/zarno-screenshot" --lang "$lang" "$root/docs/screenshot$suffix.png" \
        "$root/docs/viewer$suffix.png" "$work/pc/PILE12.sgy"
    xvfb-run -a -s "-screen 0 1280x800x24" "$bin/zarno-screenshot" --lang "$lang" --site "$site_dir" \
        "$root/docs/site$suffix.png" "$root/docs/site-stacked$suffix.png"
    # The user guide's spectrum picture: the two traces of PILE18, drawn off screen.
    "$bin/zarno-cli" --lang "$lang" render --spectrum --width 900 --height 400 -o "$root/docs/fourier$suffix.png" \
        "$work/pc/PILE18.sgy"
    # ... and its report page: the command-line report of PILE12, its PDF page as a picture.
    "$bin/zarno-cli" --lang "$lang" report -o "$work/report$suffix" "$work/pc/PILE12.sgy" 2>/dev/null
    pdftoppm -png -r 60 -singlefile "$work/report$suffix/report.pdf" "$root/docs/report$suffix"
done
echo "docs/{screenshot,viewer,site,site-stacked,fourier,report}{,.en}.png"
