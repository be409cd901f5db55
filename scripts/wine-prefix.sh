#!/bin/sh
# Makes the project-local Wine prefix once: wine-prefix.sh PREFIX. Windows are left unmanaged, so
# hiding or destroying one under a display without a window manager does not stall Wine for
# seconds waiting on the manager.
set -eu
export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine 8 of Debian 12 does not find its own fonts (fonts-wine) where the package puts them; in the
# prefix's Fonts folder it does. Without Marlett, caption buttons are drawn as the letters "0 1 r".
link_fonts() {
  fonts="$WINEPREFIX/drive_c/windows/Fonts"
  [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ] && [ ! -e "$fonts/marlett.ttf" ] || return 0
  for font in /usr/share/wine/fonts/*; do
    ln -sf "$font" "$fonts/"
  done
}
if [ -f "$WINEPREFIX/.kelvanor-ready" ]; then
  link_fonts
  exit 0
fi
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
link_fonts
touch "$WINEPREFIX/.kelvanor-ready"
