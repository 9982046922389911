#!/bin/sh
# The demo: in a Wine prefix of its own (BUILD/demo-prefix, fresh each run) the sample
# installation puts the Varnex-AX samples on the machine and registers the controls with
# tolvane, then the uninstaller runs from its entry's UninstallString, as program removal
# starts it. With a display of the user's (DISPLAY set, not CI) the user drives the dialogs
# inside a virtual desktop; without one the demo driver presses the buttons and saves a
# screenshot of each dialog in BUILD/demo-shots/. A second sample installation is then removed
# silently with its entry's QuietUninstallString, as a deployment tool runs it. Either way a
# report of what was installed, removed and left follows.
#
# Usage: scripts/demo.sh BUILD          the demo
#        scripts/demo.sh BUILD docs     the README's screenshots of skerrit into docs/
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case $build in /*) ;; *) build=$here/$build ;; esac
mode=${2:-demo}
bin=$build/win/bin
for exe in demo_driver tvsample skerrit tolvane corvane ulmarsh; do
  [ -f "$bin/$exe.exe" ] || { echo "demo: $bin/$exe.exe is missing; build first (make demo)" >&2; exit 1; }
done

prefix=$build/demo-prefix
rm -rf "$prefix" "$prefix.lock"
shots=$build/demo-shots
[ "$mode" = docs ] && shots=$build/docs-shots
rm -rf "$shots"
mkdir -p "$shots"
report=$build/demo-report.txt
rm -f "$report"
# Wine would hand every new shortcut to its menu builder, which writes into the host's menus.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
export WINEDEBUG=-all WINEARCH=win32

if [ "$mode" = demo ] && [ -n "$DISPLAY" ] && [ -z "$CI" ]; then
  echo "demo: on your display: install (press OK in the registration window), then uninstall"
  export WINEPREFIX="$prefix"
  "$here/scripts/wine-prefix"
  wine explorer /desktop=TavrinDemo,1024x768 "$bin/demo_driver.exe" demo "$(winepath -w "$report")" watch \
    >/dev/null 2>&1 || true
  wineserver -k 2>/dev/null || true
else
  export DEMO_BIN="$bin" DEMO_REPORT="$report" DEMO_SHOTS="$shots" DEMO_MODE="$mode"
  "$here/scripts/with-wine" --prefix "$prefix" sh -c '
    SUITE_SCREENSHOT_DIR=$(winepath -w "$DEMO_SHOTS")
    export SUITE_SCREENSHOT_DIR
    timeout 600 wine explorer /desktop=TavrinDemo,1024x768 "$DEMO_BIN/demo_driver.exe" "$DEMO_MODE" \
      "$(winepath -w "$DEMO_REPORT")" >/dev/null 2>&1 || true'
  for bmp in "$shots"/*.bmp; do
    [ -f "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
  done
fi

[ -s "$report" ] || { echo "demo: no report was written" >&2; exit 1; }
tr -d '\r' < "$report"
if [ "$mode" = docs ]; then
  for kind in welcome review removal shared restart cancelled error about; do
    [ -f "$shots/skerrit-$kind.png" ] && cp "$shots/skerrit-$kind.png" "$here/docs/" && echo "docs/skerrit-$kind.png"
  done
elif ls "$shots"/*.png >/dev/null 2>&1; then
  echo "Screenshots of each dialog: $shots"
  ls "$shots"
fi
grep -q "ended with exit status" "$report" && grep -q "^Left of what" "$report"
