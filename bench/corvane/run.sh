#!/bin/sh
# Compression jobs side by side in corvane: 1, 2 and 4 jobs of the same size,
# each speed-up measured against one job in the same run; then ten extraction jobs
# of one archive into one folder at once against the same ten one after the other.
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
mkdir "$work/many"
for n in $(seq 1 40); do seq $((n * 1000)) $((n * 1000 + 30000)) > "$work/many/item$n.txt"; done
(cd "$work/many" && zip -q ../many.zip ./*.txt)
winpath() { echo "Z:$1" | tr / '\\'; }
SUITE_WINEPREFIX=$build/wineprefix "$here/scripts/with-wine" --prefix "$build/wineprefix" \
  wine "$build/win/bin/corvane_bench.exe" "$(winpath "$work/input.bin")" "$(winpath "$work/out")" \
  "$(winpath "$work/many.zip")"
rm -rf "$work"
