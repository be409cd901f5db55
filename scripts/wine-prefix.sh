#!/bin/sh
# Makes the project-local Wine prefix once: wine-prefix.sh PREFIX. Windows are left unmanaged, so
# hiding or destroying one under a display without a window manager does not stall Wine for
# seconds waiting on the manager.
set -eu
export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/.kelvanor-ready" ] && exit 0
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
touch "$WINEPREFIX/.kelvanor-ready"
