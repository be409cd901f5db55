#!/bin/sh
# Installs what building and testing Kelvanor needs on Debian 12, as root. Safe to run again:
# it only asks apt for packages that are missing.
set -eu
packages="cmake ninja-build g++ clang libclang-rt-14-dev llvm-14 googletest
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 xvfb xauth imagemagick x11-utils python3 libbenchmark-dev"
# Wine's own fonts: without them the caption buttons of every window are drawn as letters.
packages="$packages fonts-wine"
# The PC/SC bridge: pcsc-lite to build against, and its end-to-end test's daemon, virtual reader,
# virtual card and private namespaces.
packages="$packages libpcsclite-dev pcscd vsmartcard-vpcd vsmartcard-vpicc python3-virtualsmartcard
  python3-pycryptodome iproute2 util-linux"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  # A mirror caught mid-sync fails one index now and then; the install below says if it mattered.
  apt-get update || true
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
fi
