#!/usr/bin/env bash
# package.sh [BUILD-DIR]: makes the Debian package zarno_VERSION_ARCH.deb from a plain build tree
# (default build/, built first) and prints its path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
(cd "$dir" && cpack -G DEB >&2)
ls -t "$dir"/zarno_*.deb | head -n 1
