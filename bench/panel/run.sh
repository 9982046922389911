#!/bin/sh
# Runs the picture panel benchmark under Wine and prints its ratios.
# Builds nothing: build the target panel_bench of the Windows build first.
# Usage: bench/panel/run.sh [build-root]   (default: build)
set -e
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build}
case $build in /*) ;; *) build=$here/$build ;; esac
exe=$build/win/bin/panel_bench.exe
[ -f "$exe" ] || { echo "run.sh: $exe not built (cmake --build $build/win --target panel_bench)" >&2; exit 1; }
exec "$here/scripts/with-wine" --prefix "$build/wineprefix" "$build/win/wine-run" "$exe"
