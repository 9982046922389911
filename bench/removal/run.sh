#!/bin/sh
# Runs the review and removal benchmark under Wine and prints its two ratios.
# Builds nothing: build the target removal_bench of the Windows build first.
# Usage: bench/removal/run.sh [build-root]   (default: build)
set -e
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build}
case $build in /*) ;; *) build=$here/$build ;; esac
exe=$build/win/bin/removal_bench.exe
[ -f "$exe" ] || { echo "run.sh: $exe not built (cmake --build $build/win --target removal_bench)" >&2; exit 1; }
run() { "$here/scripts/with-wine" --prefix "$build/wineprefix" "$build/win/wine-run" "$exe" "$@"; }
run review
# The removal on one processor for the program and the Wine server: every file call is a round
# trip between them, and on a virtual machine a round trip between two processors costs several
# times one on the same processor, so a run would otherwise measure where the scheduler put them.
pin=
command -v taskset >/dev/null && pin="taskset -c $(( $(nproc) - 1 ))"
$pin "$here/scripts/with-wine" --prefix "$build/wineprefix" "$build/win/wine-run" "$exe" removal
