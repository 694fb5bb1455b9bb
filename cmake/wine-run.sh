#!/usr/bin/env bash
# Runs a Windows executable under Wine for CTest and the tools.
# Keeps everything inside the build tree: its own Wine prefix (never ~/.wine),
# one persistent wineserver (a cold Wine start costs seconds, a warm one ~0.1 s)
# and an Xvfb display for the tests that create windows.
set -u
here=$(cd "$(dirname "$0")" && pwd)
prefix=${LUMBRA_WINEPREFIX:-}
if [ -z "$prefix" ]; then
  # The executable lives somewhere inside a build tree; the prefix sits at its top.
  dir=$(cd "$(dirname "$1")" && pwd)
  while [ "$dir" != "/" ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ "$dir" = "/" ] && dir=$(pwd)
  prefix="$dir/wineprefix"
fi
export WINEPREFIX="$prefix"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
mkdir -p "$WINEPREFIX"

display=${LUMBRA_DISPLAY:-:97}
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
  export DISPLAY=$display
  (
    flock 9
    if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
      nohup Xvfb "$DISPLAY" -screen 0 1600x1000x24 -nolisten tcp </dev/null >/dev/null 2>&1 9>&- &
      for _ in $(seq 50); do xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break; sleep 0.1; done
    fi
  ) 9>/tmp/lumbra-xvfb${DISPLAY#:}.lock
fi

(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i </dev/null >/dev/null 2>&1 9>&-
    wineserver -w 9>&-
  fi
  # A persistent server for this prefix; -p without a running one starts it.
  wineserver -p </dev/null >/dev/null 2>&1 9>&- || true
) 9>"$WINEPREFIX.lock"

# Wine starts helper processes (services, explorer) that outlive the test and
# would hold CTest's output pipe open, so the output goes through files.
out=$(mktemp /tmp/lumbra-wine.XXXXXX)
wine "$@" </dev/null >"$out.1" 2>"$out.2"
rc=$?
cat "$out.1"
cat "$out.2" >&2
rm -f "$out" "$out.1" "$out.2"
exit $rc
