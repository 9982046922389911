#!/bin/sh
# Compression jobs side by side in corvane: 1, 2 and 4 jobs of the same size,
# each speed-up measured against one job in the same run.
# Usage: bench/corvane/run.sh [BUILDROOT]   (default: build)
set -eu
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build}
case $build in /*) ;; *) build=$here/$build ;; esac
cmake --build "$build/win" --target corvane_bench -j2 >/dev/null
work=$build/win/bin/corvane_bench_data
rm -rf "$work" && mkdir -p "$work/out"
# Half text, half random bytes: compressible and incompressible work.
{ seq 1 1200000; head -c 8000000 /dev/urandom; } > "$work/input.bin"
winpath() { echo "Z:$1" | tr / '\\'; }
SUITE_WINEPREFIX=$build/wineprefix "$here/scripts/with-wine" --prefix "$build/wineprefix" \
  wine "$build/win/bin/corvane_bench.exe" "$(winpath "$work/input.bin")" "$(winpath "$work/out")"
rm -rf "$work"
