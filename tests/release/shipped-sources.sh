#!/bin/sh
# The C and C++ sources that ship, below the current folder: everything outside tests/, bench/,
# the build folders and .git. The lean-code checks read these.
find . \( -path ./tests -o -path ./bench -o -path './build*' -o -path ./.git \) -prune -o -type f \
  \( -name '*.cpp' -o -name '*.cc' -o -name '*.c' -o -name '*.h' -o -name '*.hpp' \) -print | sort
