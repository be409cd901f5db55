#!/bin/sh
# Runs a Windows program under Wine with the project-local prefix: wine-run.sh PREFIX PROGRAM [ARGS...]
# The prefix is made once and reused; the user's own ~/.wine is never touched.
prefix=$1; shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
exec wine "$@"
