#!/usr/bin/env bash
# package-check.sh [BUILD-DIR]: makes the package, unpacks it into a scratch root, and proves from
# there that it is whole: the desktop entry and the file types are valid, no installed binary keeps a
# path of the build, and the installed zarno-cli and zarno-device run and convert a recording with
# the libraries found in their installed places.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$(cd "${1:-$root/build}" 2>/dev/null && pwd || echo "${1:-$root/build}")
deb=$(bash "$root/scripts/package.sh" "$dir")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "package-check: $*" >&2; exit 1; }

echo "package: $deb"
dpkg-deb --info "$deb" | sed -n '/Depends:/p'
dpkg-deb -x "$deb" "$scratch/root"
usr=$scratch/root/usr
for f in bin/zarno bin/zarno-cli bin/zarno-device lib/zarno/libvelnet.so lib/zarno/libDravik.so \
         lib/zarno/libzarno-cli-draw.so \
         lib/zarno/libTovelUtils.so lib/zarno/libTovelUtilsEditor.so share/applications/zarno.desktop share/mime/packages/zarno.xml \
         share/icons/hicolor/48x48/apps/zarno.png share/man/man1/zarno-cli.1.gz \
         share/man/man1/zarno-device.1.gz share/man/man1/zarno.1.gz; do
    [ -e "$usr/$f" ] || fail "the package lacks /usr/$f"
done
desktop-file-validate "$usr/share/applications/zarno.desktop"
python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' "$usr/share/mime/packages/zarno.xml"

for f in "$usr"/lib/zarno/*; do
    runpath=$(readelf -d "$f" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
    [ -z "$runpath" ] || [ "$runpath" = '$ORIGIN' ] || fail "$f has RUNPATH $runpath"
    if grep -q -a -F "$root" "$f" || grep -q -a -F "$dir" "$f"; then
        fail "$f still names the build folder"
    fi
done

# Nothing of the build tree may be found on the way: run from elsewhere with a clean library path.
cd "$scratch"
env -u LD_LIBRARY_PATH "$usr/bin/zarno-cli" --version
env -u LD_LIBRARY_PATH "$usr/bin/zarno-device" --version
env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen "$usr/bin/zarno" --version
env -u LD_LIBRARY_PATH "$usr/bin/zarno-device" make-samples samples >/dev/null
mkdir out
env -u LD_LIBRARY_PATH "$usr/bin/zarno-cli" convert -o out samples/PILE12.DDB
[ -s out/PILE12.sgy ] || fail "the installed zarno-cli converted nothing"
env -u LD_LIBRARY_PATH "$usr/bin/zarno-cli" measure out/PILE12.sgy
# The commands that draw find their module in the installed program's folder.
env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen "$usr/bin/zarno-cli" render -o out/PILE12.png out/PILE12.sgy
[ -s out/PILE12.png ] || fail "the installed zarno-cli drew nothing"
# The installed zarno opens a recording named on its command line in the signal viewer: the picture
# must show the plot areas' own background colour over a good part of the screen. (A pseudo-terminal
# stands in for a serial port so that start-up asks nothing.)
# Its settings and its socket's folder are its own (a Zarno already running on this machine is
# another program, which it hands nothing to, and nothing is left behind), with the link on 127.0.0.1 and free UDP ports rather than the default one, which
# a running Zarno may hold. Stored port values are the library's byte-swapped ones.
mkdir -p "$scratch/config/Mervo" "$scratch/run"
chmod 700 "$scratch/run"
python3 - "$scratch/config/Mervo/Zarno.conf" <<'PY'
import socket, sys
def free_port_value():
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return ((port & 0xFF) << 8) | (port >> 8)
with open(sys.argv[1], "w") as f:
    f.write("[Transport]\nCurrent%20IPAddress=2130706433\n")
    f.write("Current%%20Ethernet%%20Port1=%d\nCurrent%%20Ethernrt%%20Port2=%d\n" % (free_port_value(), free_port_value()))
PY
XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/run" VELNET_COM1=/dev/ptmx xvfb-run -a -s "-screen 0 1024x768x24" \
    bash -c '"$1" "$2" & pid=$!; sleep 10; import -window root "$3"; kill $pid; wait $pid 2>/dev/null; true' \
    _ "$usr/bin/zarno" "$scratch/out/PILE12.sgy" "$scratch/viewer.png"
plot_pixels=$(convert "$scratch/viewer.png" -alpha off -fill black +opaque "rgb(242,242,255)" \
    -fill white -opaque "rgb(242,242,255)" -format "%[fx:round(mean*w*h)]" info:)
echo "installed zarno PILE12.sgy: $plot_pixels pixels of plot background"
cp "$scratch/viewer.png" "$dir/package-viewer.png"
[ "$plot_pixels" -gt 50000 ] || fail "the installed zarno showed no signal viewer for PILE12.sgy (see $dir/package-viewer.png)"

echo "package-check: $(basename "$deb") installs and works from $usr"
