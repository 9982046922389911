#!/bin/sh
# Compresses and extracts one generated corpus (~50 MB of text and binary
# files) with the zip and unzip controls under Wine and with Info-ZIP natively,
# in the same run, and prints the controls' throughput relative to Info-ZIP.
# Usage: bench/toolkit/run.sh [BUILD_ROOT]   (default build; needs a configured win build)
set -eu
here=$(cd "$(dirname "$0")/../.." && pwd)
root=$(cd "$here/${1:-build}" && pwd)
work="$root/bench-toolkit"
cmake --build "$root/win" --target toolkit_bench -j2 >/dev/null
mkdir -p "$work"

if [ ! -f "$work/corpus.done" ]; then
  rm -rf "$work/corpus"
  for d in 0 1 2 3 4; do
    mkdir -p "$work/corpus/text$d"
    for f in 00 01 02 03 04 05 06 07 08 09; do
      awk -v seed="$d$f" 'BEGIN {
        srand(seed); split("archive volume deflate header record central directory item folder extract compress stream buffer window dialog thread status", w, " ")
        for (i = 0; i < 9000; i++) { line = ""; for (j = 0; j < 8; j++) line = line w[int(rand() * 17) + 1] " "; print line }
      }' > "$work/corpus/text$d/doc$f.txt"
    done
  done
  mkdir -p "$work/corpus/bin"
  for f in 0 1 2 3 4 5; do
    head -c 2097152 /dev/urandom > "$work/corpus/bin/noise$f.bin"
    # Mostly zeros with random low bytes: compressible, but not trivially.
    head -c 1536000 /dev/urandom | tr '\100-\377' '\000' > "$work/corpus/bin/table$f.bin"
  done
  touch "$work/corpus.done"
fi
bytes=$(du -sb "$work/corpus" | cut -f1)

# Each side runs ROUNDS times (default 5) and counts its best time: a run of a third of a
# second is at the mercy of whatever else the machine does at that moment.
rounds=${ROUNDS:-5}
now() { date +%s.%N; }
least() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b < a) ? b : a }'; }
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }
native_zip=""; native_unzip=""; ctl_zip=""; ctl_unzip=""
round=0
while [ "$round" -lt "$rounds" ]; do
  round=$((round + 1))
  rm -rf "$work/native.zip" "$work/native-out"
  t0=$(now)
  (cd "$work/corpus" && zip -q -r -6 "$work/native.zip" .)
  t1=$(now)
  unzip -q -o "$work/native.zip" -d "$work/native-out"
  t2=$(now)
  native_zip=$(least "$native_zip" "$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')")
  native_unzip=$(least "$native_unzip" "$(awk -v a="$t1" -v b="$t2" 'BEGIN { print b - a }')")

  rm -rf "$work/controls.zip" "$work/controls-out"
  mkdir -p "$work/controls-out"
  line=$(SUITE_WINEPREFIX="$root/wineprefix" "$here/scripts/with-wine" --prefix "$root/wineprefix" \
    wine "$root/win/bin/toolkit_bench.exe" "$(winpath "$work/corpus")" \
    "$(winpath "$work/controls.zip")" "$(winpath "$work/controls-out")" | tr -d '\r' | grep zip_seconds)
  echo "controls, round $round: $line"
  ctl_zip=$(least "$ctl_zip" "$(echo "$line" | sed 's/^zip_seconds=\([0-9.]*\).*/\1/')")
  ctl_unzip=$(least "$ctl_unzip" "$(echo "$line" | sed 's/.*unzip_seconds=\([0-9.]*\).*/\1/')")
done

diff -r "$work/corpus" "$work/controls-out" >/dev/null || { echo "extracted tree differs" >&2; exit 1; }
unzip -tq "$work/controls.zip" >/dev/null || { echo "unzip -t rejects the controls' archive" >&2; exit 1; }

printf 'corpus %d bytes; archive sizes: Info-ZIP %d, controls %d\n' "$bytes" \
  "$(stat -c %s "$work/native.zip")" "$(stat -c %s "$work/controls.zip")"
ratio() { awk -v native="$1" -v ours="$2" 'BEGIN { printf "%.2f", native / ours }'; }
printf 'compress (best of %d): Info-ZIP %.2fs, controls %.2fs, throughput ratio %s\n' "$rounds" \
  "$native_zip" "$ctl_zip" "$(ratio "$native_zip" "$ctl_zip")"
printf 'extract (best of %d):  Info-ZIP %.2fs, controls %.2fs, throughput ratio %s\n' "$rounds" \
  "$native_unzip" "$ctl_unzip" "$(ratio "$native_unzip" "$ctl_unzip")"
