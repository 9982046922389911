#!/bin/sh
# Regenerates every picture in docs/ from the real programs. The uninstaller's dialogs and
# tolvane's window come from the demo (paths of the sample installation under C:\Program
# Files); the others from the end-to-end tests that save a picture when asked, started from
# C:\Samples (a link to the build's program folder inside a prefix of their own), so path
# boxes show that folder and not the build machine's. Caption buttons need Wine's Marlett
# font, which scripts/wine-prefix puts in every prefix.
# Usage: scripts/screenshots.sh BUILD
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case $build in /*) ;; *) build=$here/$build ;; esac
bin=$build/win/bin

"$here/scripts/demo.sh" "$build" docs >/dev/null
cp "$build/docs-shots/tolvane-confirm.png" "$here/docs/"

# picture name | test program | test
shots='ulmarsh-main|ulmarsh_info_e2e_test|BenchInfo.IndexedItemInformationMatchesZipinfo
ulmarsh-string|ulmarsh_info_e2e_test|BenchInfo.StringFormUnzipsCharactersFromAnOffset
ulmarsh-rename|ulmarsh_rename_e2e_test|BenchRename.EditedNameAndDateAreUsedAndStopEndsThePrompts
corvane-main-two-jobs|corvane_jobs_e2e_test|JobsTest.ExtractionAndCompressionRunAtTheSameTime
skerrit-picture|panel_welcome_e2e_test|WelcomePicture.AttachedPictureIsCentredOnTheButtonFace'

prefix=$build/shots-prefix
out=$build/shots
rm -rf "$prefix" "$prefix.lock" "$out"
mkdir -p "$out"
export SHOTS="$shots" SHOTS_BIN="$bin" SHOTS_OUT="$out" SHOTS_TOOL="$here/scripts/screenshot"
"$here/scripts/with-wine" --prefix "$prefix" sh -c '
  ln -s "$SHOTS_BIN" "$WINEPREFIX/drive_c/Samples"
  echo "$SHOTS" | while IFS="|" read -r name program test; do
    "$SHOTS_TOOL" "$SHOTS_OUT/$name" "C:\\Samples\\$program.exe" --gtest_filter="$test"
  done'
echo "$shots" | while IFS='|' read -r name program test; do
  picture=$out/$name/$name.png
  [ -f "$picture" ] || { echo "screenshots: $program did not save $name" >&2; exit 1; }
  cp "$picture" "$here/docs/"
done
ls "$here/docs"
