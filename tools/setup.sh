#!/usr/bin/env bash
# Installs what Lumbra's build, tests and run need on a Debian 12 machine, as root.
# Skips everything that is already there, so it costs a second when nothing is missing.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for p in cmake ninja-build g++ googletest libgtest-dev libgmock-dev \
         g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 \
         wine wine64 wine32:i386 xvfb x11-utils xdotool imagemagick; do
  have "$p" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "Missing packages: ${need[*]}; run this script as root to install them." >&2
    exit 1
  fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${need[@]}"
fi
