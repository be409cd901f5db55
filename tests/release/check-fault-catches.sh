#!/bin/sh
# Shipped code catches no exception type of the C++ library's own faults: in the Windows binaries
# the lean runtime (release/LeanRuntime.cpp) throws one type of its own for all of them, so such a
# catch would never be reached there. Everything outside tests/ and bench/ ships.
#   check-fault-catches.sh ROOT
set -eu
here=$(cd "$(dirname "$0")" && pwd)
cd "$1"
types='logic_error|domain_error|invalid_argument|length_error|out_of_range|runtime_error|range_error|overflow_error|underflow_error|system_error'
found=$(sh "$here/shipped-sources.sh" | xargs -r grep -HnE "catch[[:space:]]*\([^)]*\b($types)\b" || true)
if [ -n "$found" ]; then
  echo "$found"
  echo "shipped code catches a library fault type (above) that the Windows binaries never throw:"
  echo "check the input before the call (std::from_chars, a size test) or catch std::exception"
  exit 1
fi
echo "no catch of a library fault type in shipped code"
