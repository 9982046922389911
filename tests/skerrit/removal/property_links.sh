#!/bin/sh
# Gives the property test's prefix what a program under Wine cannot make itself: a link to a
# folder (a Unix symbolic link, which Wine shows as a reparse point) and a subst drive S: (a
# drive link in dosdevices), both into C:\rmprop. Usage: property_links.sh SOURCE_DIR PREFIX
set -e
source_dir=$1
prefix=$2
WINEPREFIX=$prefix "$source_dir/scripts/wine-prefix"
c=$prefix/drive_c/rmprop
mkdir -p "$c/base" "$c/linked"
printf 'keep' > "$c/base/keep.txt"
ln -sfn ../linked "$c/base/link"
ln -sfn ../drive_c/rmprop/base "$prefix/dosdevices/s:"
