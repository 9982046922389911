#!/bin/sh
# Checks with Info-ZIP what corvane's jobs left behind in the end-to-end test.
# Usage: check_outputs.sh DIR
set -eu
cd "$1"
fail() { echo "FAIL: $*" >&2; exit 1; }

# Three compression jobs side by side: three sound archives of the same files.
for n in 1 2 3; do
  a=out/zipped/zipped$n.zip
  [ -f "$a" ] || fail "$a missing"
  unzip -tq "$a" || fail "unzip -t $a"
  rm -rf check && mkdir check
  unzip -q -j "$a" -d check || fail "unzip $a"
  for f in readme.txt numbers.txt data.bin zeros.bin notes.txt deep.txt; do
    cmp "check/$f" "ref/$f" || fail "$f in $a differs from its source"
  done
  cmp check/noise.bin big/noise.bin || fail "noise.bin in $a differs from its source"
done

# Three extraction jobs into one folder: the same bytes as Info-ZIP's extraction.
for f in ref/*; do
  cmp "$f" "out/extracted/$(basename "$f")" || fail "extracted $(basename "$f") differs"
done
# Ten compression jobs adding one file each to one archive at once, in one process and in
# two: a sound archive holding all ten.
for d in updates updates2p; do
  a=out/$d/shared.zip
  [ -f "$a" ] || fail "$a missing"
  unzip -tq "$a" || fail "unzip -t $a"
  names=$(unzip -Z1 "$a" | sed 's|.*/||' | sort | tr '\n' ' ')
  [ "$names" = "item0.txt item1.txt item2.txt item3.txt item4.txt item5.txt item6.txt item7.txt item8.txt item9.txt " ] ||
    fail "$a holds: $names"
done
# An update and an extraction of one archive at once: the update is whole.
unzip -tq out/readwrite/rw.zip || fail "unzip -t rw.zip"
unzip -p out/readwrite/rw.zip '*added.txt' | cmp - out/readwrite/added.txt || fail "added.txt in rw.zip differs"

# Multi-volume jobs: Info-ZIP joins the volumes into one sound archive.
for a in floppy cd; do
  rm -f "out/split/$a-joined.zip"
  zip -q -s 0 "out/split/$a.zip" --out "out/split/$a-joined.zip" || fail "zip -s 0 $a.zip"
  unzip -tq "out/split/$a-joined.zip" || fail "unzip -t $a-joined.zip"
  unzip -p "out/split/$a-joined.zip" '*counting.txt' | cmp - big/counting.txt || fail "$a: counting.txt differs"
done
echo "corvane outputs accepted by Info-ZIP"
