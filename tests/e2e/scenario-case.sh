#!/usr/bin/env bash
# Scenarios with cases: one scenario file that runs once per line
#   @case NAME | VALUE 1 | VALUE 2 ...
# with {1}, {2} ... in its other lines replaced by the values of that case (literally: a value may
# hold quotes, backslashes and {QUOTE}). CMake makes one test per case, e2e.SCENARIO.NAME.
#   scenario-case.sh list SCENARIO              the case names, one a line (none: not a case table)
#   scenario-case.sh expand SCENARIO CASE OUT   writes the scenario for that case to OUT, line for
#                                               line, so that the driver's line numbers still hold
set -euo pipefail

usage() { echo "usage: scenario-case.sh list SCENARIO | expand SCENARIO CASE OUT" >&2; exit 2; }

case ${1:-} in
    list)
        [ $# -eq 2 ] || usage
        tr -d '\r' <"$2" | sed -n 's/^@case[[:space:]]\{1,\}\([^[:space:]|]\{1,\}\).*/\1/p' ;;
    expand)
        [ $# -eq 4 ] || usage
        tr -d '\r' <"$2" | awk -v wanted="$3" '
            function trim(s) { gsub(/^[ \t]+|[ \t]+$/, "", s); return s }
            { lines[NR] = $0 }
            /^@case[ \t]/ {
                n = split(substr($0, 6), parts, "|")
                if (trim(parts[1]) == wanted) {
                    found = 1
                    for (i = 2; i <= n; i++) values[i - 1] = trim(parts[i])
                    count = n - 1
                }
            }
            END {
                if (!found) { print "scenario-case: no case " wanted > "/dev/stderr"; exit 1 }
                for (l = 1; l <= NR; l++) {
                    line = lines[l]
                    if (line !~ /^@case[ \t]/) {
                        for (i = 1; i <= count; i++) {
                            key = "{" i "}"
                            out = ""
                            while ((at = index(line, key)) > 0) {
                                out = out substr(line, 1, at - 1) values[i]
                                line = substr(line, at + length(key))
                            }
                            line = out line
                        }
                    }
                    print line
                }
            }' >"$4" ;;
    *) usage ;;
esac
