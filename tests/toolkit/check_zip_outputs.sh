#!/bin/sh
# Checks with Info-ZIP what the zip control made in the Wine test.
# Usage: check_zip_outputs.sh FIXTUREDIR
set -eu
cd "$1/zipout"
fail() { echo "FAIL: $*" >&2; exit 1; }

unzip -tq made.zip || fail "unzip -t made.zip"
rm -rf check && mkdir check
unzip -q made.zip -d check || fail "unzip made.zip"
for f in readme.txt data.bin zeros.bin zipstring "long name file.txt" sub/notes.txt sub/deeper/deep.txt; do
  cmp "check/$f" "../src/$f" || fail "$f differs from its source"
done

unzip -tq level0.zip || fail "unzip -t level0.zip"
unzip -tq level9.zip || fail "unzip -t level9.zip"
unzip -tq keep.zip || fail "unzip -t keep.zip"

rm -f joined.zip
zip -q -s 0 split.zip --out joined.zip || fail "zip -s 0 split.zip"
unzip -tq joined.zip || fail "unzip -t joined.zip"
unzip -p joined.zip noise.bin | cmp - ../big/noise.bin || fail "split archive content"
# The updated self-extractor: offsets fixed (no warning, exit 0), program kept, items equal.
unzip -tq sfx_updated.exe || fail "unzip -t sfx_updated.exe"
stub_size=$(stat -c %s ../sfx_stub.exe)
head -c "$stub_size" sfx_updated.exe | cmp - ../sfx_stub.exe || fail "self-extractor program changed"
rm -rf sfx_check && mkdir sfx_check
unzip -q sfx_updated.exe -d sfx_check || fail "unzip sfx_updated.exe"
for f in readme.txt data.bin zipstring "long name file.txt" sub/notes.txt sub/deeper/deep.txt; do
  cmp "sfx_check/$f" "../src/$f" || fail "$f in the self-extractor differs from its source"
done
echo "zip control outputs accepted by Info-ZIP"
