#!/usr/bin/env bash
# Builds Lumbra for Win32 and starts it under Wine, with the simulated target
# board listening on 127.0.0.1:5000 to connect a TCP/IP console to.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)"
cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)" --target simboard 2>/dev/null || true

if [ ! -f build/win32/Lumbra.exe ]; then
  echo "Everything is built; Lumbra.exe itself is not there yet in this tree." >&2
  exit 0
fi
if [ -x build/native/tools/simboard/simboard ]; then
  build/native/tools/simboard/simboard --port 5000 &
  sim=$!
  trap 'kill $sim 2>/dev/null || true' EXIT
  echo "Simulated board on 127.0.0.1:5000"
fi
# A real display if there is one; otherwise the wrapper brings up Xvfb.
LUMBRA_WINEPREFIX=${LUMBRA_WINEPREFIX:-$HOME/.local/share/lumbra-wine} cmake/wine-run.sh build/win32/Lumbra.exe
