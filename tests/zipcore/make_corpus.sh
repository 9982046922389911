#!/bin/sh
# Regenerates the small seed archives of the ZIP reader fuzz target (checked in as made here).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$here/corpus/reader
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out" "$work/d/sub"
cd "$work"
printf 'hello\nworld\n' > d/a.txt
printf 'abcabcabcabcabcabcabcabcabcabc\n' > d/sub/b.txt
: > d/empty
zip -q -X -r deflated.zip d
zip -q -X -0 stored.zip d/a.txt
zip -q -X -P pw encrypted.zip d/a.txt d/sub/b.txt
zip -q -X comment.zip d/a.txt && printf 'a comment' | zip -q -z comment.zip
printf 'streamed through a pipe\n' | zip -q -X piped.zip -
python3 - <<'PY'
import zipfile
with zipfile.ZipFile('hostile.zip', 'w') as z:
    for name in ('../up.txt', '/abs.txt', 'C:/drive.txt', 'ok/fine.txt', 'CON'):
        z.writestr(name, 'x\n')
PY
# ZIP64, streamed and UTF-8 archives as Info-ZIP and Python's zipfile write them.
wild="python3 $here/wild_archives.py"
zip -q -X -r -fz zip64.zip d
zip -q -X -r - d | cat > streamed.zip
zip -q -X -r -fz - d | cat > streamed-zip64.zip
printf 'from standard input\n' | zip -q - - | cat > streamed-stdin.zip
$wild python-zip64-all d zip64-records.zip
$wild python-streamed d | cat > zipfile-streamed.zip
$wild handmade d descriptors-nosig-zip64.zip --zip64 --no-signature --prefix 16
$wild claimed-size claimed-5g.zip 5000000000
$wild claimed-size claimed-max.zip 18446744073709551615
$wild utf8 utf8-names.zip utf8-names.tsv
# A self-extractor: a program stub in front, offsets adjusted by zip -A.
printf 'MZ stub program\n' > sfx.zip && cat deflated.zip >> sfx.zip && zip -q -A sfx.zip
# Split sets as one input each (volumes joined by the fuzz target's separator).
$wild split deflated.zip split-deflated.zip 150 --seed
$wild split encrypted.zip split-encrypted.zip 64 --seed
$wild split comment.zip split-comment.zip 100 --seed
for f in *.zip; do cp "$f" "$out/$f"; done
