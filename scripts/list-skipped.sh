#!/usr/bin/env bash
# Lists the tests that were skipped, with their reasons, from GoogleTest's XML
# results: ctest shows a suite that passed with skipped tests as passed.
#   list-skipped.sh RESULTS_FOLDER...
set -euo pipefail
# Also one level down: runs of a suite in another setting keep their results
# in a folder named after it (dpi120/win32_program_tests.xml).
for dir in "$@"; do
    for f in "$dir"/*.xml "$dir"/*/*.xml; do
        [ -f "$f" ] || continue
        program="$(basename "$f" .xml)"
        setting="$(basename "$(dirname "$f")")"
        [ "$(dirname "$f")" = "${dir%/}" ] || program="$program at $setting"
        awk -v program="$program" '
            function attribute(line, key) {
                if (!match(line, key "=\"[^\"]*\""))
                    return ""
                return substr(line, RSTART + length(key) + 2, RLENGTH - length(key) - 3)
            }
            function unescape(s) {
                gsub(/&#x0A;/, "\n", s); gsub(/&quot;/, "\"", s); gsub(/&apos;/, "'\''", s)
                gsub(/&lt;/, "<", s); gsub(/&gt;/, ">", s); gsub(/&amp;/, "\\&", s)
                return s
            }
            /<testcase / { name = attribute($0, "classname") "." attribute($0, "name") }
            /<skipped message="/ {
                message = unescape(attribute($0, "message"))
                where = message; reason = ""
                if (split(message, parts, "\n") > 1) {
                    where = parts[1]; reason = substr(message, length(where) + 2)
                    gsub(/\n/, " ", reason)
                }
                sub(/.*[\/\\]/, "", where)
                printf "  SKIPPED %s (%s, %s): %s\n", name, program, where, reason
            }' "$f"
    done
done
