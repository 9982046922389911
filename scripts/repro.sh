#!/bin/sh
# Checks that the shipped files are reproducible: builds the committed HEAD twice, from two
# clean clones in folders of different names and without the compiler cache, and compares
# every shipped file byte for byte. Prints each file's SHA-256; exits 1 on any difference.
# Usage: scripts/repro.sh [WORKDIR]      (default: a new folder under /tmp)
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$(mktemp -d /tmp/suite-repro.XXXXXX)}
rev=$(git -C "$here" rev-parse HEAD)
echo "repro: building $rev twice in $work"
export CCACHE_DISABLE=1
for side in a checkout-b; do
  src=$work/$side
  rm -rf "$src"
  git clone -q --no-local "$here" "$src"
  git -C "$src" checkout -q "$rev"
  "$src/scripts/fetch-sources.sh"
  cmake -S "$src" -B "$src/build/win" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-i686.cmake" >/dev/null
  cmake --build "$src/build/win" -j"${JOBS:-2}" --target shipped >"$work/$side.log" 2>&1 ||
    { tail -20 "$work/$side.log"; exit 1; }
done
status=0
while read -r file; do
  [ -n "$file" ] || continue
  other=$(echo "$file" | sed "s|^$work/a/|$work/checkout-b/|")
  name=$(basename "$file")
  if cmp -s "$file" "$other"; then
    echo "same $(sha256sum "$file" | cut -d' ' -f1) $name"
  else
    echo "DIFFERENT $name"
    status=1
  fi
done < "$work/a/build/win/dist-files.txt"
[ $status -eq 0 ] && echo "repro: both builds gave the same bytes" || echo "repro: the builds differ"
exit $status
