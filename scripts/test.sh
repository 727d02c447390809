#!/usr/bin/env bash
# Builds the program and runs every test (the Qt front-end tests offscreen):
# first the layer check and the docs path check with their self-tests, then the normal build, then the same tests built
# with AddressSanitizer and UndefinedBehaviorSanitizer. Warnings are errors.
# SANITIZE=0 skips the sanitizer pass (for a quick local run).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
jobs="$(nproc)"
bash "$root/scripts/deps.sh"
bash "$root/scripts/checklayers.sh"
bash "$root/scripts/checklayers_selftest.sh"
bash "$root/scripts/checkdocs.sh"
bash "$root/scripts/checkdocs_selftest.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOMBRELO_WERROR=ON >/dev/null
ninja -C "$build"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j "$jobs"

if [ "${SANITIZE:-1}" != 0 ]; then
  sanitized="$build-sanitized"
  cmake -S "$root" -B "$sanitized" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DOMBRELO_WERROR=ON \
    -DOMBRELO_SANITIZE=address,undefined -DOMBRELO_BUILD_BENCH=OFF >/dev/null
  ninja -C "$sanitized"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$sanitized" --output-on-failure -j "$jobs"
fi
