#!/bin/sh
# Lists every shipped file's size and fails when one outgrows its ceiling: a ceiling is the
# size a release should stay under, so growth (a new runtime pulled in, a dropped
# --gc-sections) shows up as a failure rather than in a release. Usage: check_sizes.sh LIST
set -eu
list=$1
# name ceiling-in-KiB, some 5-10 % above this build and within the release aims (programs and
# controls under 400 KiB; skerrit, which carries 211 KiB of configuration section with its
# picture room, under 450 KiB)
ceilings='skerrit.exe 450
tolvane.exe 145
corvane.exe 160
ulmarsh.exe 215
tvcfg.exe 165
tvsample.exe 170
VXSTATUS.DLL 145
VXUNZIP.DLL 300
VXZIP.DLL 395'
failed=0
while read -r file; do
  [ -n "$file" ] || continue
  name=$(basename "$file")
  kib=$(( ($(stat -c %s "$file") + 1023) / 1024 ))
  ceiling=$(echo "$ceilings" | awk -v n="$name" '$1 == n {print $2}')
  if [ -z "$ceiling" ]; then
    echo "FAIL: $name has no ceiling in $0"; failed=1
  elif [ "$kib" -gt "$ceiling" ]; then
    echo "FAIL: $name $kib KiB (ceiling $ceiling KiB)"; failed=1
  else
    printf '%-13s %4d KiB (ceiling %d KiB)\n' "$name" "$kib" "$ceiling"
  fi
done < "$list"
exit $failed
