#!/bin/sh
# A changed expectation makes the run exit 1, and the JUnit report, read back by an XML parser,
# names the command that failed.
#   changed-expectation-test.sh KELVANOR-CLI EXAMPLE.req
set -eu
cli=$1 example=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sed 's/^> 90 01\(\r*\)$/> 90 02\1/' "$example" > "$work/changed.req"
cmp -s "$example" "$work/changed.req" && { echo "no '> 90 01' line to change in $example"; exit 1; }
status=0
"$cli" run --junit "$work/report.xml" "$work/changed.req" > "$work/out.txt" 2> "$work/err.txt" || status=$?
[ "$status" -eq 1 ] || { echo "exit $status, not 1"; cat "$work/err.txt"; exit 1; }
python3 - "$work/report.xml" "$work/changed.req" <<'PY'
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
lines = open(sys.argv[2], encoding="latin-1").read().splitlines()
failed = [c for c in root.iter("testcase") if c.find("failure") is not None]
assert failed, "no failed test case"
for case in failed:
    line = int(case.get("name").split(":")[0].split()[1])
    assert lines[line - 1] in case.get("name"), case.get("name")
    assert lines[line] == "> 90 02", (line, lines[line])
    assert "expected 90 02" in case.find("failure").get("message"), case.find("failure").get("message")
print("failed as expected:", ", ".join(c.get("name") for c in failed))
PY
