#!/usr/bin/env bash
# The whole test run: installs what is missing, then builds and tests three trees:
#   build/        g++, every test (window tests under xvfb-run), and the Debian package made from it
#                 and tried from a scratch root
#   build-asan/   clang with AddressSanitizer+UndefinedBehaviorSanitizer, every test without a window
#                 (the long lossy-link soak runs in build/ only),
#                 plus a short run of each fuzz target
#   build-tsan/   clang with ThreadSanitizer, the transport and link tests
# A failure anywhere fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh

jobs=$(nproc)
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tests/tsan.supp}

step() { printf '\n=== %s\n' "$*"; }

step "build (g++)"
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARNO_WERROR=$werror
step "tests (g++)"
xvfb-run -a ctest --test-dir build --output-on-failure -j "$jobs"

step "package (made, unpacked into a scratch root, run from there)"
bash scripts/package-check.sh build

step "build (clang, ASan+UBSan)"
bash scripts/build.sh build-asan -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
    -DZARNO_SANITIZE=address -DZARNO_GUI=OFF -DZARNO_FUZZ=ON -DZARNO_BENCH=OFF -DZARNO_WERROR=$werror
step "tests (ASan+UBSan)"
ctest --test-dir build-asan --output-on-failure -j "$jobs" -LE 'gui|soak'

step "build (clang, TSan)"
bash scripts/build.sh build-tsan -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
    -DZARNO_SANITIZE=thread -DZARNO_GUI=OFF -DZARNO_BENCH=OFF -DZARNO_WERROR=$werror
step "tests (TSan)"
ctest --test-dir build-tsan --output-on-failure -j "$jobs" -L 'transport|link'

step "all test runs passed"
