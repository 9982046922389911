#!/bin/sh
# Builds the archives the control tests read, with Info-ZIP zip, and what
# Info-ZIP unzip makes of them (listings and extracted trees) to compare with.
# Usage: make_archives.sh OUTDIR
set -eu
out=$1
rm -rf "$out"
mkdir -p "$out"
cd "$out"

python3 - <<'PY'
import os, random, zipfile
random.seed(7)
os.makedirs("src/sub/deeper", exist_ok=True)
def text(path, lines):
    with open(path, "w", newline="\n") as f:
        for i in range(lines):
            f.write("line %d of %s: the quick brown fox\n" % (i, os.path.basename(path)))
text("src/readme.txt", 40)
text("src/sub/notes.txt", 500)
text("src/sub/deeper/deep.txt", 3)
text("src/long name file.txt", 12)
with open("src/zipstring", "w", newline="\n") as f:
    f.write("0123456789abcdefghijklmnopqrstuvwxyz\nsecond line\n")
with open("src/data.bin", "wb") as f:
    f.write(bytes(random.getrandbits(8) for _ in range(70000)))
with open("src/zeros.bin", "wb") as f:
    f.write(bytes(200000))
# Split archives need more than one 1.4 MB volume of poorly compressible data.
os.makedirs("big", exist_ok=True)
with open("big/noise.bin", "wb") as f:
    f.write(random.randbytes(3200000))
# Names that climb out of the destination or are absolute.
with zipfile.ZipFile("hostile.zip", "w") as z:
    z.writestr("fine.txt", "harmless\n")
    z.writestr("../escaped.txt", "should never be written\n")
    z.writestr("/rooted.txt", "should never be written\n")
PY

# Fixed times so freshen/update tests know which side is newer.
find src -exec touch -t 202001021304.06 {} +

(cd src && zip -q -r -X ../plain.zip . && printf 'Archive comment for the tests\n' | zip -q -z ../plain.zip)
(cd src && zip -q -r -X -0 ../stored.zip readme.txt data.bin)
(cd src && zip -q -X -P secret ../secret.zip readme.txt sub/notes.txt)
(cd src && zip -q -X -P secret -0 ../secret_stored.zip readme.txt)

# Damaged copies: cut short, and with the central directory's first byte changed.
head -c 40000 plain.zip > truncated.zip
python3 - <<'PY'
data = bytearray(open("plain.zip", "rb").read())
at = data.rfind(b"PK\x01\x02")
data[at + 46] ^= 0xFF  # first byte of the last item's name in the directory
cd = data.find(b"PK\x01\x02")
data[cd + 16] ^= 0x55  # CRC of the first item as the directory records it
open("damaged.zip", "wb").write(bytes(data))
open("notzip.zip", "wb").write(b"this is plain text, not an archive\n" * 20)
PY

# Item listing in central-directory order: length|method|size|crc|name
for a in plain stored secret; do
  unzip -v "$a.zip" | awk 'f && /^-+/ {exit} f {n=$8; for(i=9;i<=NF;i++) n=n" "$i; print $1"|"$2"|"$3"|"$7"|"n} /^-+/ {f=1}' > "$a.list"
done
unzip -q plain.zip -d ref_plain
