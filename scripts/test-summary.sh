#!/usr/bin/env bash
# One closing line for all suites of `make test`, from the ctest logs: the
# native and sanitizer suites count their cases; the Windows suite counts
# the GoogleTest cases inside its one executable and the black-box tests.
set -euo pipefail
passed=0
failed=0
for log in "$@"; do
    [ -f "$log" ] || continue
    line=$(grep -E "tests passed, [0-9]+ tests failed out of [0-9]+" "$log" | tail -1 || true)
    [ -n "$line" ] || continue
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*, ([0-9]+) tests failed.*/\1/' <<<"$line")
    # A ctest entry that runs a whole GoogleTest executable counts its cases.
    inner=$(grep -E "^\S*: \[  PASSED  \] [0-9]+ tests?\." "$log" | sed -E 's/.*\] ([0-9]+) tests?\..*/\1/' | awk "{s+=\$1} END {print s+0}" || true)
    entries=$(grep -cE "^\S*: \[  PASSED  \] [0-9]+ tests?\." "$log" || true)
    passed=$((passed + total - bad - entries + ${inner:-0}))
    failed=$((failed + bad))
done
echo "$passed passed, $failed failed"
