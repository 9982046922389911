#!/bin/bash
# Long fuzzing: runs every libFuzzer target of a native build (or those named) for SECONDS
# each over its corpus folders, then prints each target's executions and coverage.
# Fails when a target fails. Usage: fuzz.sh NATIVE_BUILD SECONDS [TARGET...]
set -u
build=${1:?usage: fuzz.sh NATIVE_BUILD SECONDS [TARGET...]}
seconds=${2:?usage: fuzz.sh NATIVE_BUILD SECONDS [TARGET...]}
shift 2
case $seconds in
  '' | *[!0-9]* | 0) echo "fuzz.sh: SECONDS must be a positive number, not '$seconds'" >&2; exit 2 ;;
esac
build=$(cd "$build" && pwd) || exit 2
list=$build/fuzz-targets.txt
if [ ! -s "$list" ]; then
  echo "fuzz.sh: no fuzz targets listed in $list (configure and build the native tree first)" >&2
  exit 2
fi

declare -A known=()
while IFS=$'\t' read -r name _; do known[$name]=1; done < "$list"
for wanted in "$@"; do
  if [ -z "${known[$wanted]:-}" ]; then
    echo "fuzz.sh: no fuzz target '$wanted'; there are: ${!known[*]}" >&2
    exit 2
  fi
done

logs=$build/fuzz-logs
artifacts=$build/fuzz-artifacts
mkdir -p "$logs" "$artifacts"
summary=()
failed=0
ran=0
while IFS=$'\t' read -r -a fields; do
  name=${fields[0]}
  program=${fields[1]}
  dirs=("${fields[@]:2}")
  if [ $# -gt 0 ]; then
    chosen=0
    for wanted in "$@"; do [ "$wanted" = "$name" ] && chosen=1; done
    [ $chosen = 1 ] || continue
  fi
  mkdir -p "${dirs[0]}"  # new inputs go into the first folder, the build's own corpus
  log=$logs/$name.log
  echo "== $name: ${seconds}s (log $log)"
  ASAN_OPTIONS=detect_leaks=1 "$program" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$artifacts/$name-" "${dirs[@]}" > "$log" 2>&1 </dev/null
  rc=$?
  ran=$((ran + 1))
  execs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
  status=ok
  if [ $rc -ne 0 ]; then
    status="FAILED (exit $rc)"
    failed=$((failed + 1))
    tail -n 40 "$log"
    ls "$artifacts" | sed -n "s|^$name-|   input kept: $artifacts/$name-|p"
  fi
  summary+=("$(printf '%-32s executions %12s   cov %7s   %s' "$name" "${execs:-?}" "${cov:-?}" "$status")")
done < "$list"

echo
echo "== fuzz summary (${seconds}s per target)"
for line in "${summary[@]}"; do echo "$line"; done
if [ $ran -eq 0 ]; then
  echo "fuzz.sh: nothing ran" >&2
  exit 2
fi
[ $failed -eq 0 ]
