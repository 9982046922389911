#!/bin/sh
# Files and archives for corvane's end-to-end tests, made with Info-ZIP.
# Usage: make_fixtures.sh DIR
set -eu
dir=$1
rm -rf "$dir" && mkdir -p "$dir/src/sub/deeper" "$dir/big"
cd "$dir"

# Small tree with unique file names (extraction drops stored folder names).
printf 'corvane fixture\r\nsecond line\r\n' > src/readme.txt
seq 1 20000 > src/numbers.txt
head -c 200000 /dev/urandom > src/data.bin
head -c 65536 /dev/zero > src/zeros.bin
printf 'notes in a folder\n' > src/sub/notes.txt
printf 'deep down\n' > src/sub/deeper/deep.txt
(cd src && zip -q -r ../small.zip .)
mkdir ref && unzip -q -j small.zip -d ref

# Many items, so that jobs extracting it into one folder at once write the same files
# at the same moments.
mkdir many
for n in $(seq 1 40); do seq $((n * 1000)) $((n * 1000 + 15000)) > "many/item$n.txt"; done
(cd many && zip -q ../many.zip ./*.txt)

printf 'one item\n' > tiny.txt
zip -q -j tiny.zip tiny.txt

# Large enough that a job is still running when the test presses Cancel.
head -c 48000000 /dev/urandom > big/noise.bin
seq 1 3000000 > big/counting.txt
(cd big && zip -q -0 ../big.zip noise.bin counting.txt)
