#!/bin/sh
# Fetches the source packages the build compiles in, from Debian's archive, once; each is
# pinned by its digest, and kept in a cache outside the tree, so that clean clones of this
# machine unpack rather than download. Idempotent: returns at once when they are unpacked.
#  - libdeflate 1.14 (Debian 12's libdeflate): the controls' in-memory deflate.
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
dest="$here/third_party"
cache="${SUITE_SOURCE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/suite-sources}"

fetch() {  # name version tarball sha256 pool-folder
  dir="$dest/$1-$2"
  [ -f "$dir/.unpacked" ] && return 0
  mkdir -p "$dest" "$cache"
  tarball="$cache/$3"
  url="${DEBIAN_MIRROR:-http://deb.debian.org/debian}/pool/main/$5/$3"
  if ! echo "$4  $tarball" | sha256sum -c --status 2>/dev/null; then
    python3 -c 'import sys, urllib.request; urllib.request.urlretrieve(sys.argv[1], sys.argv[2])' "$url" "$tarball.part"
    mv "$tarball.part" "$tarball"
    echo "$4  $tarball" | sha256sum -c --status || { echo "fetch-sources: $3 does not match its digest" >&2; exit 1; }
  fi
  rm -rf "$dir" && mkdir -p "$dir"
  tar -xzf "$tarball" -C "$dir" --strip-components=1
  touch "$dir/.unpacked"
}

fetch libdeflate 1.14 libdeflate_1.14.orig.tar.gz 89e7df898c37c3427b0f39aadcf733731321a278771d20fc553f92da8d4808ac libd/libdeflate
