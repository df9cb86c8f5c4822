#!/usr/bin/env bash
# Fails on any include that runs upward or sideways between the floors of src/:
#   base < system < font | image | xml | window < gadget < dialog < app
# A file of src/<sub>/ or tests/<native|win32>/<sub>/ includes only its own
# folder and lower floors; font, xml and window do not include each other.
# A lower floor reaches a higher one only through a hook it owns.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' src tests/native tests/win32 |
awk '
BEGIN {
    rank["base"] = 0; rank["system"] = 1
    rank["font"] = 2; rank["image"] = 2; rank["xml"] = 2; rank["window"] = 2
    rank["gadget"] = 3; rank["dialog"] = 4; rank["app"] = 5
}
{
    split($0, where, ":")
    n = split(where[1], part, "/")
    from = (part[1] == "src") ? part[2] : part[3]
    match($0, /"[^"]+"/)
    target = substr($0, RSTART + 1, RLENGTH - 2)
    m = split(target, piece, "/")
    if (m < 2) next                       # same folder
    to = piece[1]
    if ((to == "native" || to == "win32") && m >= 3) to = piece[2]  # shared test helpers
    if (!(from in rank) || !(to in rank) || from == to) next
    if (rank[to] < rank[from]) next
    printf "%s:%s: %s includes %s (%s)\n", where[1], where[2], from, target, rank[from] == rank[to] ? "sideways" : "upward"
    bad = 1
}
END {
    if (bad) { print "check-layers: includes that run upward or sideways" > "/dev/stderr"; exit 1 }
}'
