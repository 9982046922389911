#!/bin/sh
# Builds the bench's test archives with Info-ZIP's zip, and writes what
# zipinfo reports of each item into an INI file for the tests to compare.
# Usage: make_fixtures.sh OUTDIR
set -e
out=$1
rm -rf "$out"
mkdir -p "$out/src"
cd "$out/src"

printf 'Alpha item, stored without compression.\n' > alpha.txt
touch -d '2001-09-28 11:50:40' alpha.txt
printf 'Beta item, read-only.\nSecond line.\n' > beta.txt
touch -d '1999-12-31 23:59:58' beta.txt
chmod 444 beta.txt
i=0
: > zipstring
while [ $i -lt 100 ]; do printf 'item-%03d;' $i >> zipstring; i=$((i + 1)); done
touch -d '2010-06-15 08:30:00' zipstring

zip -q -X -0 ../bench.zip alpha.txt
zip -q -X ../bench.zip beta.txt zipstring
printf 'Bench fixture comment' | zip -q -z ../bench.zip

printf 'one\n' > one.txt
printf 'two\n' > two.txt
printf 'three\n' > three.txt
touch -d '2005-05-05 05:05:04' one.txt two.txt three.txt
zip -q -X ../rename.zip one.txt two.txt three.txt
# A name this ANSI code page cannot show (UTF-8, flag bit 11).
python3 -c 'import zipfile; zipfile.ZipFile("../rename-unicode.zip", "w").writestr("\u03a9mega.txt", "omega\n")'

# Long enough to extract that a close can arrive in the middle of the run.
head -c 20000000 /dev/zero > big.bin
zip -q -X ../big.zip big.bin
rm big.bin

cd ..
zipinfo -v bench.zip | awk '
  /^Central directory entry #/ { n = substr($4, 2) - 1; print "[item" n "]"; want = 1; next }
  want && /^  [^ ]/ { sub(/^ +/, ""); print "name=" $0; want = 0; next }
  /compression method:/ { sub(/.*compression method: +/, ""); print "method=" $0 }
  /file last modified on \(DOS date\/time\):/ { sub(/.*\(DOS date\/time\): +/, ""); print "datetime=" $0 }
  /32-bit CRC value \(hex\):/ { print "crc=" $NF }
  /^  compressed size:/ { print "csize=" $(NF-1) }
  /^  uncompressed size:/ { print "osize=" $(NF-1) }
  /MS-DOS file attributes \(/ { v = $4; sub(/^\(/, "", v); print "dosattr=" v }
' > bench.ini
