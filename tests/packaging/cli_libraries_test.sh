#!/usr/bin/env bash
# zarno-cli's commands that do not draw start without the renderer's libraries (Qt's GUI and
# widgets, OpenGL/OSMesa, FreeType, fontconfig) and without the drawing module; render loads the
# module from the program's folder and draws, and so does report. measure and spectrum load a recording,
# whose gain curve comes from libTovelUtils.so: that must not bring the gain editor's widgets either.
set -u
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }
drawing='lib(Qt6Gui|Qt6Widgets|Qt6OpenGL|OSMesa|GL|GLX|EGL|LLVM|freetype|fontconfig|TovelUtilsEditor|zarno-cli-draw)[.-]'

"$bin/zarno-device" make-samples "$work/samples" >/dev/null || { echo "FAIL: no samples"; exit 1; }
ddb=$(ls "$work"/samples/*.DDB | head -n 1)
name=$(basename "${ddb%.*}")

# Each case: a name, the libraries it must not load and the command line; LD_DEBUG lists every
# library the process loads.
loads() { env -u DISPLAY LD_DEBUG=libs LD_DEBUG_OUTPUT="$work/ld" "$@" >/dev/null 2>&1; local rc=$?
          cat "$work"/ld.* 2>/dev/null; rm -f "$work"/ld.*; return $rc; }
while IFS='|' read -r label forbidden args; do
    libs=$(eval "loads \"\$bin/zarno-cli\" $args"); rc=$?
    [ $rc -eq 0 ] || fail "zarno-cli $label exits $rc"
    bad=$(grep -oE "calling init: [^ ]*${!forbidden}" <<<"$libs" | sort -u)
    [ -z "$bad" ] || fail "zarno-cli $label loads: $bad"
done <<CASES
--version|drawing|--version
convert|drawing|convert -o "\$work" "\$ddb"
headers|drawing|headers "\$work/\$name.sgy"
measure|drawing|measure "\$work/\$name.sgy"
spectrum|drawing|spectrum -o "\$work/\$name.txt" "\$work/\$name.sgy"
CASES

libs=$(loads env QT_QPA_PLATFORM=offscreen "$bin/zarno-cli" render -o "$work/picture.png" "$work/$name.sgy") ||
    fail "zarno-cli render fails"
grep -q "calling init: .*/libzarno-cli-draw.so" <<<"$libs" || fail "zarno-cli render did not load its module"
[ -s "$work/picture.png" ] || fail "zarno-cli render wrote no picture"
mkdir "$work/report"
libs=$(loads env QT_QPA_PLATFORM=offscreen "$bin/zarno-cli" report -o "$work/report" "$work/$name.sgy") ||
    fail "zarno-cli report fails"
grep -q "calling init: .*/libzarno-cli-draw.so" <<<"$libs" || fail "zarno-cli report did not load its module"
[ -s "$work/report/report.pdf" ] || fail "zarno-cli report wrote no report"

[ $status -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $status
