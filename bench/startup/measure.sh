#!/bin/sh
# Measures start-up against the bare window program, all started in turn in one Wine session:
# measure.sh [ROUNDS] [PROGRAM...]; by default kelvanor.exe of the windows preset, built first.
# WINEPREFIX chooses another prefix than the build's, so tests may run meanwhile.
set -eu
cd "$(dirname "$0")/../.."
rounds=${1:-40}
[ $# -gt 0 ] && shift
bin="$PWD/build/windows/bin"
[ $# -gt 0 ] || set -- "$bin/kelvanor.exe"
prefix=${WINEPREFIX:-$PWD/build/windows/wineprefix}
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
  prefix=$1 bin=$2 rounds=$3; shift 3
  sh scripts/wine-prefix.sh "$prefix"
  export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineserver -p
  programs=""
  for p in "$bin/bare_window.exe" "$@"; do programs="$programs $(winepath -w "$p")"; done
  status=0
  wine "$bin/startup_bench.exe" "$rounds" $programs || status=$?
  wineserver -k || true
  exit $status
' sh "$prefix" "$bin" "$rounds" "$@"
