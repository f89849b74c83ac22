#!/usr/bin/env bash
# Runs one scenario in the session that session.sh started:
#   run-scenario.sh --session DIR --programs DIR [--demo DIR] [--shots DIR] SCENARIO
# --programs is the Windows build's bin folder (driver.exe, SETUP.EXE); --demo the folder that
# make-demo-disks.sh fills (disks/disk1, disks/disk2, ... and product/, the product's files);
# --shots the folder for the scenario's screenshots (default $E2E_SHOTS/NAME when that is set,
# else SESSION_DIR/shots/NAME).
#
# The scenario's header directives say what the runner prepares:
#   @screen WxH          the screen size (default 1024x768)
#   @drive-a ITEM...     the files of drive A:, each setup:PATH (in --programs) or demo:PATH
#                        (in --demo, wildcards allowed); drive A: is empty without it
#   @timeout SECONDS     the test runner's limit for the scenario (read by CMake, default 120)
# Before every scenario the runner resets what a scenario may change: C:\E2E (the folder for
# scenario destinations), C:\Program Files\Quenfold, the product's uninstall key, and new files in
# C:\, in the Programs folder and in C:\windows\help. D: is the --demo folder: a disk is inserted by
# copying its volume from D:\disks, and installed files are compared with D:\product.
# Exit status: the driver's (0 passed, 1 failed, 2 unreadable scenario); 77 when the scenario
# needs the demo disks and they have not been built.
set -euo pipefail

fail() { echo "run-scenario: $*" >&2; exit 1; }
usage() { fail "usage: run-scenario.sh --session DIR --programs DIR [--demo DIR] [--shots DIR] SCENARIO"; }

session='' programs='' demo='' shots='' scenario=''
while [ $# -gt 0 ]; do
    case $1 in
        --session) session=$2; shift 2 ;;
        --programs) programs=$2; shift 2 ;;
        --demo) demo=$2; shift 2 ;;
        --shots) shots=$2; shift 2 ;;
        -*) usage ;;
        *) [ -z "$scenario" ] || usage; scenario=$1; shift ;;
    esac
done
if [ -z "$session" ] || [ -z "$programs" ] || [ -z "$scenario" ]; then usage; fi
[ -f "$scenario" ] || fail "no scenario $scenario"
[ -f "$session/session.env" ] || fail "no session in $session: run session.sh start $session first"
[ -f "$programs/driver.exe" ] || fail "no driver.exe in $programs: build the Windows programs first"
# Absolute paths: they end up in symlinks of the prefix.
session=$(cd "$session" && pwd)
programs=$(cd "$programs" && pwd)
# shellcheck source=/dev/null
. "$session/session.env"

name=$(basename "$scenario" .scn)
shots=${shots:-${E2E_SHOTS:-$session/shots}/$name}
mkdir -p "$shots"
rm -f "$shots"/*.png

# Windows sees the whole Unix file system as drive Z:.
windows_path() {
    local full
    full=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
    echo "Z:${full//\//\\}"
}

# Ends every process of the prefix and starts a fresh persistent server.
restart_wine() {
    wineserver -k 2>/dev/null || true
    wineserver -w
    wineserver -p </dev/null >/dev/null 2>&1
}

# A scenario that was cut short (a timeout of the test runner) may have left its program running.
if [ -f "$session/dirty" ]; then
    echo "run-scenario: the last scenario did not finish cleanly; ending what it left"
    restart_wine
    rm -f "$session/dirty"
fi

screen=1024x768
drive_items=()
while IFS= read -r directive; do
    read -r -a words <<<"$directive"
    case ${words[0]} in
        @screen) screen=${words[1]:-} ;;
        @drive-a) drive_items+=("${words[@]:1}") ;;
        @timeout) ;;  # the test runner's limit, which CMake reads
        *) fail "$scenario: unknown directive ${words[0]}" ;;
    esac
done < <(grep '^@' "$scenario" | tr -d '\r')
[[ $screen =~ ^[0-9]+x[0-9]+$ ]] || fail "$scenario: @screen wants WxH, got '$screen'"

drive_a="$session/drive-a"
rm -rf "$drive_a"
mkdir -p "$drive_a"
for item in "${drive_items[@]}"; do
    case $item in
        setup:*) sources=("$programs/${item#setup:}") ;;
        demo:*)
            if [ -z "$demo" ] || [ ! -d "$demo/disks/disk1" ]; then
                echo "run-scenario: SKIP $name: it needs the demo disks, which are not built (${demo:-no --demo given})"
                exit 77
            fi
            # Unquoted on purpose: the item may hold wildcards.
            # shellcheck disable=SC2206
            sources=($demo/${item#demo:}) ;;
        *) fail "$scenario: @drive-a items are setup:PATH or demo:PATH, not $item" ;;
    esac
    for source in "${sources[@]}"; do
        [ -f "$source" ] || fail "$scenario: no file $source for drive A:"
        cp "$source" "$drive_a/"
    done
done

# A drive letter is a symlink in dosdevices; a disk swap is a file appearing in the folder.
ln -sfn "$drive_a" "$WINEPREFIX/dosdevices/a:"
if [ -n "$demo" ] && [ -d "$demo" ]; then
    ln -sfn "$(cd "$demo" && pwd)" "$WINEPREFIX/dosdevices/d:"
else
    rm -f "$WINEPREFIX/dosdevices/d:"
fi

# Wine keeps the case that a folder was created with (the Main dialog upper-cases what it
# creates, C:\PROGRAM FILES\QUENFOLD is the Unix folder "Program Files/QUENFOLD"), so the reset
# looks for the folders in any case.
find "$WINEPREFIX/drive_c" -maxdepth 1 -iname E2E -exec rm -rf {} +
find "$WINEPREFIX/drive_c/Program Files" -maxdepth 1 -iname Quenfold -exec rm -rf {} +
find "$E2E_PROGRAMS_DIR" "$WINEPREFIX/drive_c/windows/help" -mindepth 1 -newer "$session/baseline" -delete
# A destination at the root of C: leaves its files there.
find "$WINEPREFIX/drive_c" -maxdepth 1 -type f -newer "$session/baseline" -delete

# One reg import does the registry part of the reset and picks the desktop: every size has a
# desktop of its own name, since a desktop that is already running keeps its first size.
desktop="E2E-$screen"
registry="$session/scenario.reg"
cat >"$registry" <<REG
REGEDIT4

[-HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quenfold]

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="$desktop"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"$desktop"="$screen"
REG
wine reg import "$(windows_path "$registry")" </dev/null >/dev/null 2>&1 || fail "cannot import $registry"

echo "== $name: screen $screen, screenshots in $shots"
touch "$session/dirty"
# The driver writes into a file that is shown as it grows: Wine processes that the run starts (the
# desktop's explorer) live on and would hold a pipe open, and a test runner reading that pipe would
# wait for them.
log="$session/driver.log"
: >"$log"
wine "$programs/driver.exe" --shots "$(windows_path "$shots")" "$(windows_path "$scenario")" </dev/null >"$log" 2>&1 &
driver=$!
tail -n +1 -s 0.2 -f --pid=$driver "$log" || true
status=0
wait $driver || status=$?
if [ $status -ne 0 ]; then
    echo "run-scenario: $name failed (driver exit $status); ending what it left behind"
    restart_wine
fi
rm -f "$session/dirty"
exit $status
