#!/usr/bin/env bash
# Builds every configuration and runs every test:
#   native - the portable core and its tests under AddressSanitizer and UBSan
#   win32  - Lumbra.exe, PigmoDLLWx86.dll and all tests, run under Wine (and Xvfb)
#   win64  - PigmoDLLWx64.dll and the portable core's tests under 64-bit Wine
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

jobs=$(nproc)
status=0
for preset in native win32 win64; do
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
for preset in native win32 win64; do
  echo "=== $preset: tests"
  ctest --preset "$preset" -j "$jobs" || status=1
done
if [ "$status" = 0 ]; then echo "All tests passed."; else echo "Some tests FAILED." >&2; fi
exit $status
