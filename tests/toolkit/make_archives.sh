#!/bin/sh
# Builds the archives the control tests read, with Info-ZIP zip, and what
# Info-ZIP unzip makes of them (listings and extracted trees) to compare with.
# Usage: make_archives.sh OUTDIR SFX_STUB_EXE
set -eu
out=$1
wild="python3 $(cd "$(dirname "$0")/../zipcore" && pwd)/wild_archives.py"
stub=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
rm -rf "$out"
mkdir -p "$out"
cd "$out"

mkdir -p src/sub/deeper big hostile/zz
text() { # file lines
  awk -v n="$2" -v name="$(basename "$1")" 'BEGIN { for (i = 0; i < n; i++) printf "line %d of %s: the quick brown fox\n", i, name }' > "$1"
}
text src/readme.txt 40
text src/sub/notes.txt 500
text src/sub/deeper/deep.txt 3
text "src/long name file.txt" 12
printf '0123456789abcdefghijklmnopqrstuvwxyz\nsecond line\n' > src/zipstring
head -c 70000 /dev/urandom > src/data.bin
head -c 200000 /dev/zero > src/zeros.bin
# Split archives need more than one 1.4 MB volume of incompressible data.
head -c 3200000 /dev/urandom > big/noise.bin

# Names that climb out of the destination or are rooted: stored under names of the same
# length, which are then replaced in the archive's bytes (CRCs cover data, not names).
printf 'harmless\n' > hostile/fine.txt
printf 'should never be written\n' > hostile/zz/escaped.txt
printf 'should never be written\n' > hostile/xrooted.txt
(cd hostile && zip -q -X ../hostile_src.zip fine.txt zz/escaped.txt xrooted.txt)
LC_ALL=C sed -e 's|zz/escaped\.txt|../escaped.txt|g' -e 's|xrooted\.txt|/rooted.txt|g' \
  hostile_src.zip > hostile.zip
rm -rf hostile hostile_src.zip

# Fixed times so freshen/update tests know which side is newer.
find src -exec touch -t 202001021304.06 {} +

(cd src && zip -q -r -X ../plain.zip . && printf 'Archive comment for the tests\n' | zip -q -z ../plain.zip)
(cd src && zip -q -r -X -0 ../stored.zip readme.txt data.bin)
# The same tree as a split set (data.bin runs into the second 64 KiB volume), and that set
# without its first volume.
(cd src && zip -q -r -X -s 64k ../split.zip .)
mkdir -p gapped && cp split.zip gapped/ && cp split.z0[2-9] gapped/ 2>/dev/null || true
# The same tree as other writers leave it: ZIP64 records forced (Info-ZIP -fz, Python's zipfile),
# written to a pipe (data descriptors), both at once; and names in UTF-8 (manifest: shown name,
# its Latin-1 form, data, in hex).
(cd src && zip -q -r -X -fz ../wild_fz.zip .)
(cd src && zip -q -r -X - . | cat > ../wild_piped.zip)
(cd src && zip -q -r -X -fz - . | cat > ../wild_fz_piped.zip)
$wild python-zip64-all src wild_py64.zip
$wild python-streamed src | cat > wild_pystreamed.zip
$wild utf8 utf8.zip utf8.tsv
# Items whose central sizes claim 3 GiB and 5 GB, before an item small.txt.
$wild claimed-size claims3g.zip 3221225472
$wild claimed-size claims5g.zip 5000000000
(cd src && zip -q -X -P secret ../secret.zip readme.txt sub/notes.txt)
# Self-extracting archive: our stub program, the archive appended, offsets adjusted by zip -A.
(cd src && zip -q -r -X ../sfx_body.zip readme.txt data.bin sub)
cat "$stub" sfx_body.zip > sfx.exe
rm sfx_body.zip
zip -q -A sfx.exe
unzip -tq sfx.exe >/dev/null
cp "$stub" sfx_stub.exe
(cd src && zip -q -X -P secret -0 ../secret_stored.zip readme.txt)

# Damaged copies: cut short, and with the first item's CRC changed in the central directory.
head -c 40000 plain.zip > truncated.zip
cp plain.zip damaged.zip
cd_at=$(LC_ALL=C grep -obUaP 'PK\x01\x02' plain.zip | head -n1 | cut -d: -f1)
printf '\252' | dd of=damaged.zip bs=1 seek=$((cd_at + 16)) conv=notrunc 2>/dev/null
i=0; while [ $i -lt 20 ]; do echo "this is plain text, not an archive"; i=$((i + 1)); done > notzip.zip

# Item listing in central-directory order: length|method|size|crc|name
for a in plain stored secret; do
  unzip -v "$a.zip" | awk 'f && /^-+/ {exit} f {n=$8; for(i=9;i<=NF;i++) n=n" "$i; print $1"|"$2"|"$3"|"$7"|"n} /^-+/ {f=1}' > "$a.list"
done
unzip -q plain.zip -d ref_plain

# Two links back to their own folders: Wine shows them as junction-like reparse points.
rm -rf links && mkdir -p links/sub
printf 'top\n' > links/a.txt
printf 'below\n' > links/sub/b.txt
ln -s .. links/sub/up
ln -s "$(pwd)/links" links/loop
