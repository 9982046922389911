#!/bin/sh
# Compresses and extracts two corpora, in the same run and each side's best of ROUNDS rounds
# (default 5): the controls under Wine, Info-ZIP and 7-Zip's zip writer (two threads)
# natively, and two floors under Wine over exactly the corpus's files (bare Win32 loops: one
# reads every file, one creates every file the safe way our extraction must).
#  - generated: 62 large generated files (~50 MB of text and binary data)
#  - real: a snapshot of this machine's Python and Perl libraries and some shared
#    libraries (~1,900 files, mostly small), made once; its digest names the snapshot.
# Prints every figure and the controls' ratios against each of them, then where the time of
# each run on the real corpus goes (toolkit_phases).
# Usage: bench/toolkit/run.sh [BUILD_ROOT]   (default build; needs a configured win build)
set -eu
here=$(cd "$(dirname "$0")/../.." && pwd)
root=$(cd "$here/${1:-build}" && pwd)
work="$root/bench-toolkit"
rounds=${ROUNDS:-5}

generate_corpus() {
  rm -rf "$1"
  for d in 0 1 2 3 4; do
    mkdir -p "$1/text$d"
    for f in 00 01 02 03 04 05 06 07 08 09; do
      awk -v seed="$d$f" 'BEGIN {
        srand(seed); split("archive volume deflate header record central directory item folder extract compress stream buffer window dialog thread status", w, " ")
        for (i = 0; i < 9000; i++) { line = ""; for (j = 0; j < 8; j++) line = line w[int(rand() * 17) + 1] " "; print line }
      }' > "$1/text$d/doc$f.txt"
    done
  done
  mkdir -p "$1/bin"
  for f in 0 1 2 3 4 5; do
    head -c 2097152 /dev/urandom > "$1/bin/noise$f.bin"
    # Mostly zeros with random low bytes: compressible, but not trivially.
    head -c 1536000 /dev/urandom | tr '\100-\377' '\000' > "$1/bin/table$f.bin"
  done
}

if [ -z "${TOOLKIT_BENCH_SESSION:-}" ]; then
  cmake --build "$root/win" --target toolkit_bench toolkit_floor toolkit_phases -j2 >/dev/null
  mkdir -p "$work"
  if [ ! -f "$work/generated.done" ]; then generate_corpus "$work/generated"; touch "$work/generated.done"; fi
  if [ ! -f "$work/real.done" ]; then
    python3 "$here/bench/toolkit/real_corpus.py" snapshot "$work/real"
    touch "$work/real.done"
  fi
  # One Wine session for all rounds: starting Wine is no part of any figure.
  exec env TOOLKIT_BENCH_SESSION=1 "$here/scripts/with-wine" --prefix "$root/wineprefix" sh "$0" "$@"
fi

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { print b - a }'; }
least() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b < a) ? b : a }'; }
field() { echo "$1" | tr ' ' '\n' | sed -n "s/^$2=//p"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }
fail() { echo "$*" >&2; exit 1; }

bench_corpus() {
  name=$1 corpus=$2 out="$work/out-$1"
  set -- $(python3 "$here/bench/toolkit/real_corpus.py" digest "$corpus")
  echo "== $name corpus: $1 files, $2 bytes, sha256 $3"
  iz_zip="" iz_unzip="" sz_zip="" sz_unzip="" ctl_zip="" ctl_unzip="" floor_read="" floor_create=""
  mkdir -p "$out"
  round=0
  while [ "$round" -lt "$rounds" ]; do
    round=$((round + 1))
    rm -rf "$out"/* && mkdir -p "$out/controls" "$out/floor"

    # Each side starts with the disk written back, so that no side pays for the one before.
    sync; t=$(now); (cd "$corpus" && zip -q -r -6 "$out/infozip.zip" .); iz_zip=$(least "$iz_zip" "$(since "$t")")
    sync; t=$(now); unzip -q -o "$out/infozip.zip" -d "$out/infozip"; iz_unzip=$(least "$iz_unzip" "$(since "$t")")

    sync; t=$(now); (cd "$corpus" && 7zz a -tzip -mmt=2 -bso0 -bsp0 "$out/7zip.zip" .); sz_zip=$(least "$sz_zip" "$(since "$t")")
    sync; t=$(now); 7zz x -y -bso0 -bsp0 -o"$out/7zip" "$out/7zip.zip"; sz_unzip=$(least "$sz_unzip" "$(since "$t")")

    sync; line=$(wine "$root/win/bin/toolkit_bench.exe" "$(winpath "$corpus")" "$(winpath "$out/controls.zip")" \
      "$(winpath "$out/controls")" | tr -d '\r' | grep zip_seconds) || fail "controls failed: $line"
    [ -z "${BENCH_VERBOSE:-}" ] || echo "controls, round $round: $line"
    ctl_zip=$(least "$ctl_zip" "$(field "$line" zip_seconds)")
    ctl_unzip=$(least "$ctl_unzip" "$(field "$line" unzip_seconds)")

    sync; line=$(wine "$root/win/bin/toolkit_floor.exe" "$(winpath "$corpus")" "$(winpath "$out/floor")" | tr -d '\r') ||
      fail "floor loop failed: $line"
    floor_read=$(least "$floor_read" "$(field "$line" read_seconds)")
    floor_create=$(least "$floor_create" "$(field "$line" create_seconds)")
  done

  for tree in controls floor infozip 7zip; do
    diff -r "$corpus" "$out/$tree" >/dev/null || fail "$name: the tree extracted by $tree differs from the corpus"
  done
  unzip -tq "$out/controls.zip" >/dev/null || fail "$name: unzip -t rejects the controls' archive"

  iz_size=$(stat -c %s "$out/infozip.zip") sz_size=$(stat -c %s "$out/7zip.zip") ctl_size=$(stat -c %s "$out/controls.zip")
  printf '%-28s %9s %9s %14s\n' "best of $rounds rounds" compress extract "archive bytes"
  printf '%-28s %8.2fs %8.2fs %14d\n' "Info-ZIP (native)" "$iz_zip" "$iz_unzip" "$iz_size"
  printf '%-28s %8.2fs %8.2fs %14d\n' "7-Zip zip, 2 threads (native)" "$sz_zip" "$sz_unzip" "$sz_size"
  printf '%-28s %8.2fs %8.2fs %14d\n' "controls (Wine)" "$ctl_zip" "$ctl_unzip" "$ctl_size"
  printf '%-28s %8.2fs %8.2fs\n' "floor: read, create (Wine)" "$floor_read" "$floor_create"
  echo "controls' throughput vs Info-ZIP: compress $(ratio "$iz_zip" "$ctl_zip")x, extract $(ratio "$iz_unzip" "$ctl_unzip")x; archive $(ratio "$ctl_size" "$iz_size")x its size"
  echo "controls' throughput vs 7-Zip:    compress $(ratio "$sz_zip" "$ctl_zip")x, extract $(ratio "$sz_unzip" "$ctl_unzip")x; archive $(ratio "$ctl_size" "$sz_size")x its size"
  echo "controls' time over the floor:    compress $(ratio "$ctl_zip" "$floor_read")x the read loop, extract $(ratio "$ctl_unzip" "$floor_create")x the create loop"
  rm -rf "$out"
}

bench_corpus generated "$work/generated"
bench_corpus real "$work/real"

echo "== where the time goes (real corpus, the controls' engine and file system, one run each)"
rm -rf "$work/phases" && mkdir -p "$work/phases"
phases=$(wine "$root/win/bin/toolkit_phases.exe" "$(winpath "$work/real")" "$(winpath "$work/phases")") ||
  fail "toolkit_phases failed: $phases"
echo "$phases" | tr -d '\r'
rm -rf "$work/phases"
