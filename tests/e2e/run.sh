#!/usr/bin/env bash
# Runs end-to-end scenarios in a session of their own, on a display that Xvfb provides, so it
# works where there is no display at all:
#   run.sh --build DIR [--shots DIR] [SCENARIO...]
# --build is the native build folder (with win32/bin from the cross build); the scenarios default
# to all in scenarios/, and a bare name like default-answers means scenarios/default-answers.scn.
# Each scenario's screenshots go to SHOTS/NAME (--shots, else $E2E_SHOTS, else
# BUILD/e2e-shots). The demo disks are made with make-demo-disks.sh when they are missing.
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

if [ ! -d "$demo/disks/disk1" ]; then
    bash "$here/../../tools/demo-product/make-demo-disks.sh" "$programs" "$build/bin" "$demo" >/dev/null ||
        echo "run.sh: the demo disks could not be made; the scenarios that need them are skipped" >&2
fi

session=$build/e2e-run
trap 'bash "$here/session.sh" stop "$session"' EXIT
bash "$here/session.sh" start "$session"

passed=0 failed=0 skipped=0
for scenario in "${scenarios[@]}"; do
    [ -f "$scenario" ] || scenario=$here/scenarios/$scenario.scn
    name=$(basename "$scenario" .scn)
    status=0
    bash "$here/run-scenario.sh" --session "$session" --programs "$programs" --demo "$demo" \
        --shots "$shots/$name" "$scenario" || status=$?
    case $status in
        0) passed=$((passed + 1)) ;;
        77) skipped=$((skipped + 1)) ;;
        *) failed=$((failed + 1)) ;;
    esac
done
echo "screenshots in $shots"
echo "scenarios: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
