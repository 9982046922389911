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
  python3 - "$work/corpus" <<'PY'
import os, random, sys
root = sys.argv[1]
random.seed(11)
words = ("archive volume deflate header record central directory item folder "
         "extract compress stream buffer window dialog thread status").split()
for d in range(5):
    folder = os.path.join(root, "text%d" % d)
    os.makedirs(folder)
    for f in range(10):
        with open(os.path.join(folder, "doc%02d.txt" % f), "w") as out:
            for _ in range(9000):
                out.write(" ".join(random.choice(words) for _ in range(8)) + "\n")
binf = os.path.join(root, "bin")
os.makedirs(binf)
for f in range(6):
    with open(os.path.join(binf, "noise%d.bin" % f), "wb") as out:
        out.write(random.randbytes(2 * 1024 * 1024))
for f in range(6):
    with open(os.path.join(binf, "table%d.bin" % f), "wb") as out:
        out.write(bytes(random.choice(b"\0\0\0\1\2\3\377") for _ in range(1500 * 1024)))
PY
  touch "$work/corpus.done"
fi
bytes=$(du -sb "$work/corpus" | cut -f1)

now() { date +%s.%N; }
rm -rf "$work/native.zip" "$work/native-out"
t0=$(now)
(cd "$work/corpus" && zip -q -r -6 "$work/native.zip" .)
t1=$(now)
unzip -q -o "$work/native.zip" -d "$work/native-out"
t2=$(now)
native_zip=$(echo "$t1 - $t0" | bc -l)
native_unzip=$(echo "$t2 - $t1" | bc -l)

rm -rf "$work/controls.zip" "$work/controls-out"
mkdir -p "$work/controls-out"
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }
line=$(SUITE_WINEPREFIX="$root/wineprefix" "$here/scripts/with-wine" --prefix "$root/wineprefix" \
  wine "$root/win/bin/toolkit_bench.exe" "$(winpath "$work/corpus")" \
  "$(winpath "$work/controls.zip")" "$(winpath "$work/controls-out")" | tr -d '\r' | grep zip_seconds)
echo "controls: $line"
ctl_zip=$(echo "$line" | sed 's/^zip_seconds=\([0-9.]*\).*/\1/')
ctl_unzip=$(echo "$line" | sed 's/.*unzip_seconds=\([0-9.]*\).*/\1/')

diff -r "$work/corpus" "$work/controls-out" >/dev/null || { echo "extracted tree differs" >&2; exit 1; }
unzip -tq "$work/controls.zip" >/dev/null || { echo "unzip -t rejects the controls' archive" >&2; exit 1; }

printf 'corpus %d bytes; archive sizes: Info-ZIP %d, controls %d\n' "$bytes" \
  "$(stat -c %s "$work/native.zip")" "$(stat -c %s "$work/controls.zip")"
printf 'compress: Info-ZIP %.2fs, controls %.2fs, throughput ratio %.2f\n' \
  "$native_zip" "$ctl_zip" "$(echo "$native_zip / $ctl_zip" | bc -l)"
printf 'extract:  Info-ZIP %.2fs, controls %.2fs, throughput ratio %.2f\n' \
  "$native_unzip" "$ctl_unzip" "$(echo "$native_unzip / $ctl_unzip" | bc -l)"
