#!/bin/sh
# Builds Kelvanor for Windows and starts it under Wine: sh scripts/run.sh [--reader [NAME]]
# By default on the simulated terminal (ZEMTRAK.DLL). With --reader on the first PC/SC reader, or
# the first whose name contains NAME, through the forwarding ZEMTRAK.DLL, Wine's ctapi32.dll and the
# plain libctapi-pcsc.so, from build/windows/reader with a Wine prefix of its own beside it; nothing
# outside build/ is changed or started. Without a display it runs the unattended tour
# (scripts/tour.sh) on a virtual one instead and says where its screenshots and KELVAN.LOG are.
set -eu
cd "$(dirname "$0")/.."
usage() { echo "usage: sh scripts/run.sh [--reader [NAME]]" >&2; exit 2; }
reader= name=
case $# in
  0) ;;
  1 | 2) [ "$1" = --reader ] || usage; reader=yes name=${2:-} ;;
  *) usage ;;
esac
sh scripts/install-deps.sh
cmake --preset windows >/dev/null
if [ -z "$reader" ]; then
  cmake --build --preset windows --target kelvanor zemtrak_sim kelvanor_tour
  bin="$PWD/build/windows/bin"
  prefix="$PWD/build/windows/wineprefix"
  if [ -n "${DISPLAY:-}" ]; then
    cd "$bin" && exec "$OLDPWD/scripts/wine-run.sh" "$prefix" kelvanor.exe
  fi
  out="$PWD/build/windows/tour"
  rm -rf "$out"
  sh scripts/tour.sh "$out"
  echo "No display here: Kelvanor ran a short tour on a virtual one; screenshots and KELVAN.LOG in $out:"
  ls "$out"
  exit 0
fi

cmake --build --preset windows --target kelvanor zemtrak_forwarder kelvanor_tour
# Wine's ctapi32 loads the Linux library into its own process: a plain build, no sanitizers.
cmake -S . -B build/plain -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVANOR_TESTS=OFF >/dev/null
cmake --build build/plain --target ctapi_pcsc
library="$PWD/build/plain/drivers/pcsc/libctapi-pcsc.so"

# What the bridge finds, as Kelvanor's banner will show it: "PC/SC: " and the reader, or why none.
pcsc_says() {
  ZEMTRAK_PCSC_READER=$1 timeout 30 python3 -c '
import ctypes, sys
ct = ctypes.CDLL(sys.argv[1])
ct.CT_init.argtypes = [ctypes.c_ushort, ctypes.c_ushort]
ct.CT_close.argtypes = [ctypes.c_ushort]
ct.CT_version.argtypes = [ctypes.c_char_p, ctypes.c_int]
ct.CT_init(1, 0)
text = ctypes.create_string_buffer(121)
ct.CT_version(text, 0)
ct.CT_close(1)
print(text.value.decode("latin-1"))
' "$library"
}
fail() { echo "run.sh --reader: $*" >&2; exit 1; }
status=0
says=$(pcsc_says "$name") || status=$?
[ $status -ne 124 ] || fail "the PC/SC service gave no answer within 30 s: restart it (pcscd), then run again"
[ $status -eq 0 ] || fail "could not ask $library about the readers"
found=${says#PC/SC: }
case $found in
  "no PC/SC service running")
    fail "no PC/SC service answers: install and start it (apt-get install pcscd), then run again" ;;
  "no reader")
    fail "the PC/SC service sees no reader: plug the reader in (USB readers: apt-get install libccid), then run again" ;;
  "no reader named like"*)
    first=$(pcsc_says "") || true
    fail "no PC/SC reader's name contains \"$name\"; the first reader is \"${first#PC/SC: }\"" ;;
  "error "*)
    fail "the PC/SC service answered $found" ;;
esac

folder="$PWD/build/windows/reader"
prefix="$PWD/build/windows/reader-wineprefix"
mkdir -p "$folder"
cp -f build/windows/bin/kelvanor.exe build/windows/bin/kelvanor_tour.exe "$folder/"
cp -f build/windows/bin/forwarder/ZEMTRAK.DLL "$folder/ZEMTRAK.DLL"
printf '[Driver]\r\nLibrary=ctapi32.dll\r\n' > "$folder/ZEMTRAK.INI"
sh scripts/wine-run.sh "$prefix" reg add 'HKCU\Software\Wine\ctapi32' /v library /d "$library" /f >/dev/null
# Kelvanor must not join the Wine session of that command, which has no display.
WINEPREFIX="$prefix" wineserver -w
export ZEMTRAK_PCSC_READER="$name"
echo "Kelvanor on the PC/SC reader \"$found\" (from $folder)"
if [ -n "${DISPLAY:-}" ]; then
  cd "$folder" && exec "$OLDPWD/scripts/wine-run.sh" "$prefix" kelvanor.exe
fi
out="$PWD/build/windows/reader-tour"
rm -rf "$out"
status=0
sh scripts/tour.sh --reader "$out" || status=$?
[ $status -ne 3 ] ||
  fail "Kelvanor could not open \"$found\" (CT_init failed; is the PC/SC service still running?): what it showed is in $out"
[ $status -eq 0 ] || fail "the tour on \"$found\" stopped (the line above says where); what it had is in $out"
echo "No display here: Kelvanor ran a short tour on \"$found\" on a virtual one; screenshots and KELVAN.LOG in $out:"
ls "$out"
