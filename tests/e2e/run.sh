#!/usr/bin/env bash
# Runs end-to-end scenarios in a session of their own, on a display that Xvfb provides, so it
# works where there is no display at all:
#   run.sh --build DIR [--shots DIR] [SCENARIO...]
# --build is the native build folder (with win32/bin from the cross build); the scenarios default
# to all in scenarios/, and a bare name like default-answers means scenarios/default-answers.scn.
# Each scenario's screenshots go to SHOTS/NAME (--shots, else $E2E_SHOTS, else
# BUILD/e2e-shots; a case of a scenario with @case lines to SHOTS/NAME.CASE). The disk sets are
# made with make-disk-sets.sh when they are missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

usage() { echo "usage: run.sh --build DIR [--shots DIR] [SCENARIO...]" >&2; exit 2; }
build='' shots=${E2E_SHOTS:-}
scenarios=()
while [ $# -gt 0 ]; do
    case $1 in
        --build) build=$2; shift 2 ;;
        --shots) shots=$2; shift 2 ;;
        -*) usage ;;
        *) scenarios+=("$1"); shift ;;
    esac
done
[ -n "$build" ] || usage
build=$(cd "$build" && pwd)
shots=${shots:-$build/e2e-shots}
programs=$build/win32/bin
demo=$build/demo
[ ${#scenarios[@]} -gt 0 ] || scenarios=("$here"/scenarios/*.scn)

if [ ! -d "$demo/disks/disk1" ] || [ ! -d "$demo/large/disks" ]; then
    bash "$here/make-disk-sets.sh" "$programs" "$build/bin" "$demo" >/dev/null ||
        echo "run.sh: the disk sets could not be made; the scenarios that need them are skipped" >&2
fi

session=$build/e2e-run
trap 'bash "$here/session.sh" stop "$session"' EXIT
bash "$here/session.sh" start "$session"

passed=0 failed=0 skipped=0
run_one() {
    local status=0
    bash "$here/run-scenario.sh" --session "$session" --programs "$programs" --demo "$demo" "$@" || status=$?
    case $status in
        0) passed=$((passed + 1)) ;;
        77) skipped=$((skipped + 1)) ;;
        *) failed=$((failed + 1)) ;;
    esac
}
for scenario in "${scenarios[@]}"; do
    [ -f "$scenario" ] || scenario=$here/scenarios/$scenario.scn
    name=$(basename "$scenario" .scn)
    cases=$(bash "$here/scenario-case.sh" list "$scenario")
    if [ -z "$cases" ]; then
        run_one --shots "$shots/$name" "$scenario"
    fi
    for case_name in $cases; do
        run_one --shots "$shots/$name.$case_name" --case "$case_name" "$scenario"
    done
done
echo "screenshots in $shots"
echo "scenarios: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
