#!/bin/sh
# Runs a Windows program under Wine with the project-local prefix: wine-run.sh PREFIX PROGRAM [ARGS...]
# The prefix is made once and reused; the user's own ~/.wine is never touched.
set -eu
prefix=$1; shift
sh "$(dirname "$0")/wine-prefix.sh" "$prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's background services start with the first program of a server session and keep its output
# open; starting them here with nothing attached keeps a test runner from waiting on them.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
exec wine "$@"
