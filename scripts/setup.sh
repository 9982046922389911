#!/bin/sh
# Installs everything the build, the tests and the demo need on Debian 12.
# Idempotent: returns at once when every package is already present.
set -e

PACKAGES_NATIVE="cmake make g++ clang libclang-rt-14-dev googletest \
  g++-mingw-w64-i686 mingw-w64-tools mingw-w64-i686-dev libz-mingw-w64-dev \
  libwine-dev xvfb x11-apps imagemagick zip unzip xdotool zlib1g-dev ccache fonts-wine \
  libgtest-dev faketime 7zip libarchive-tools python3"
PACKAGES_I386="wine wine32:i386"

missing=""
for p in $PACKAGES_NATIVE $PACKAGES_I386; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exec "$(dirname "$0")/fetch-sources.sh"

if [ "$(id -u)" != 0 ]; then
  echo "setup: missing packages:$missing (run as root to install them)" >&2
  exit 1
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends $PACKAGES_NATIVE $PACKAGES_I386 >/dev/null
exec "$(dirname "$0")/fetch-sources.sh"
