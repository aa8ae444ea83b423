#!/usr/bin/env bash
# build.sh DIR [cmake options...]: configures (once) and builds one build tree with Ninja.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
# A compiler cache makes the three trees and later runs on the same machine cheap; optional.
launcher=()
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
else
    cmake -S "$root" -B "$dir" "${launcher[@]}" "$@" >/dev/null
fi
cmake --build "$dir" -j "$(nproc)"
