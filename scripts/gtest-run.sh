#!/usr/bin/env bash
# Runs a GoogleTest program for ctest and passes only when it exited 0 AND
# printed its closing count ("[==========] N tests from M test suites ran.")
# with N above 0. A suite that dies part-way (a crash on a thread of its own
# under Wine can end the process with status 0) must not count as passed, nor
# one whose filter no longer matches any test.
#   gtest-run.sh PROGRAM [ARGS...]    (PROGRAM may be wine-run.sh and its own arguments)
set -uo pipefail
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
"$@" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
if [ "$status" -ne 0 ]; then
    exit "$status"
fi
if ! grep -Eq '^\[==========\] [0-9]+ tests? from [0-9]+ test suites? ran' "$log"; then
    echo "gtest-run.sh: the program ended before its tests did (no closing count)" >&2
    exit 1
fi
if ! grep -Eq '^\[==========\] [1-9][0-9]* tests? from [0-9]+ test suites? ran' "$log"; then
    echo "gtest-run.sh: no test ran" >&2
    exit 1
fi
