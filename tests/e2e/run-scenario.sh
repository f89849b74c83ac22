#!/usr/bin/env bash
# Runs one scenario in the session that session.sh started:
#   run-scenario.sh --session DIR --programs DIR [--demo DIR] [--shots DIR] [--case NAME] SCENARIO
# --programs is the Windows build's bin folder (driver.exe, SETUP.EXE); --demo the folder that
# make-disk-sets.sh fills (disks/disk1, disks/disk2, ... and product/, the product's files, and the
# further disk sets zeros/ and large/ with the same layout); --shots the folder for the scenario's
# screenshots (default $E2E_SHOTS/NAME when that is set, else SESSION_DIR/shots/NAME); --case the
# case to run of a scenario with @case lines (see scenario-case.sh), which is then named NAME.CASE.
#
# The scenario's header directives say what the runner prepares:
#   @screen WxH          the screen size (default 1024x768)
#   @drive-a ITEM...     the files of drive A:, each setup:PATH (in --programs) or demo:PATH
#                        (in --demo, wildcards allowed); drive A: is empty without it
#   @timeout SECONDS     the test runner's limit for the scenario (read by CMake, default 120)
#   @case NAME | V1 ...  one run per case, {1} ... replaced by its values (scenario-case.sh)
#   @drive-c-unchanged   nothing on drive C: may change but Wine's temporary folders and what
#   @drive-c-may-change PATH
#                        lines of this kind allow, one Windows path a line (PATH\* for a folder
#                        and all in it); checked after the driver has passed (drive-c-check.sh)
#   @drive-tmpfs LETTER SIZE
#                        drive LETTER: is a new tmpfs of SIZE (1m, 6m ...), for a full disk
#                        (tmpfs-drive.sh); the scenario is skipped (77) where mounting is refused
#   @help-folder-blocked C:\windows\help is a file, not a folder, while the scenario runs
#   @read-only-file PATH a read-only file at the Windows path PATH on drive C: (read-only-files.sh),
#                        holding "This file is read-only.", one a line
#   @native-dll NAME     Wine loads a DLL of that name that it finds in a program's folder
#                        instead of its own built-in copy, as Windows does (a DllOverrides entry
#                        NAME=native,builtin for this scenario only)
# Before every scenario the runner resets what a scenario may change: C:\E2E (the folder for
# scenario destinations), C:\Program Files\Quenfold, the product's uninstall key, Wine's DLL
# overrides, and new files in C:\, in the Programs folder and in C:\windows\help. D: is the --demo
# folder: a disk is inserted by copying its volume from D:\disks, and installed files are compared
# with D:\product.
# Exit status: the driver's (0 passed, 1 failed, 2 unreadable scenario), 1 also when drive C:
# changed where it must not; 77 when the scenario needs disk sets that have not been built or a
# tmpfs that cannot be mounted.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

fail() { echo "run-scenario: $*" >&2; exit 1; }
usage() { fail "usage: run-scenario.sh --session DIR --programs DIR [--demo DIR] [--shots DIR] [--case NAME] SCENARIO"; }

session='' programs='' demo='' shots='' scenario='' case_name=''
while [ $# -gt 0 ]; do
    case $1 in
        --session) session=$2; shift 2 ;;
        --programs) programs=$2; shift 2 ;;
        --demo) demo=$2; shift 2 ;;
        --shots) shots=$2; shift 2 ;;
        --case) case_name=$2; shift 2 ;;
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
cases=$(bash "$here/scenario-case.sh" list "$scenario")
if [ -n "$cases" ]; then
    [ -n "$case_name" ] || fail "$scenario has cases ($(tr '\n' ' ' <<<"$cases")): give one with --case"
    name=$name.$case_name
    mkdir -p "$session/cases"
    expanded="$session/cases/$name.scn"
    bash "$here/scenario-case.sh" expand "$scenario" "$case_name" "$expanded"
    scenario=$expanded
elif [ -n "$case_name" ]; then
    fail "$scenario has no cases"
fi
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

# A scenario that was cut short (a timeout of the test runner) may have left its program running,
# a tmpfs mounted or the help folder blocked.
help_folder="$WINEPREFIX/drive_c/windows/help"
help_saved="$session/help-folder-saved"
tmpfs_dir="$session/tmpfs-drive"
undo_preparations() {
    if [ -d "$help_saved" ]; then
        rm -f "$help_folder"
        mv "$help_saved" "$help_folder"
    fi
    bash "$here/tmpfs-drive.sh" unmount "$tmpfs_dir"
    bash "$here/read-only-files.sh" undo "$session"
}
if [ -f "$session/dirty" ]; then
    echo "run-scenario: the last scenario did not finish cleanly; ending what it left"
    restart_wine
    undo_preparations
    rm -f "$session/dirty"
fi

# A directive's argument that may hold blanks (a Windows path): the line after its first word.
rest_of_line() {
    local rest=${1#*[[:space:]]}
    echo "${rest#"${rest%%[![:space:]]*}"}"
}

screen=1024x768
drive_items=()
check_drive_c=no
may_change=()
tmpfs_drive='' tmpfs_size=''
block_help=no
native_dlls=()
read_only_files=()
while IFS= read -r directive; do
    read -r -a words <<<"$directive"
    case ${words[0]} in
        @screen) screen=${words[1]:-} ;;
        @drive-a) drive_items+=("${words[@]:1}") ;;
        @timeout | @case) ;;  # read by CMake and scenario-case.sh
        @drive-c-unchanged) check_drive_c=yes ;;
        @drive-c-may-change) may_change+=("$(rest_of_line "$directive")") ;;
        @drive-tmpfs) tmpfs_drive=${words[1]:-} tmpfs_size=${words[2]:-} ;;
        @help-folder-blocked) block_help=yes ;;
        @native-dll) native_dlls+=("${words[@]:1}") ;;
        @read-only-file) read_only_files+=("$(rest_of_line "$directive")") ;;
        *) fail "$scenario: unknown directive ${words[0]}" ;;
    esac
done < <(grep '^@' "$scenario" | tr -d '\r')
[[ $screen =~ ^[0-9]+x[0-9]+$ ]] || fail "$scenario: @screen wants WxH, got '$screen'"
if [ -n "$tmpfs_drive" ]; then
    [[ $tmpfs_drive =~ ^[a-zA-Z]$ && $tmpfs_size =~ ^[0-9]+[kmg]?$ ]] ||
        fail "$scenario: @drive-tmpfs wants a drive letter and a size, got '$tmpfs_drive $tmpfs_size'"
fi

drive_a="$session/drive-a"
rm -rf "$drive_a"
mkdir -p "$drive_a"
for item in "${drive_items[@]}"; do
    case $item in
        setup:*) sources=("$programs/${item#setup:}") ;;
        demo:*)
            # The first folder of the item names the disk set: disks/ the demo's, zeros/, large/.
            set_folder=${item#demo:}
            set_folder=${set_folder%%/*}
            if [ -z "$demo" ] || [ ! -d "$demo/$set_folder" ]; then
                echo "run-scenario: SKIP $name: it needs the disk set $set_folder, which is not built (${demo:-no --demo given})"
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
{
    cat <<REG
REGEDIT4

[-HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quenfold]

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="$desktop"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"$desktop"="$screen"

[-HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]

[HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]
REG
    for dll in "${native_dlls[@]}"; do echo "\"$dll\"=\"native,builtin\""; done
} >"$registry"
wine reg import "$(windows_path "$registry")" </dev/null >/dev/null 2>&1 || fail "cannot import $registry"

echo "== $name: screen $screen, screenshots in $shots"
touch "$session/dirty"
trap undo_preparations EXIT
if [ "$block_help" = yes ]; then
    mv "$help_folder" "$help_saved"
    echo "the help folder is blocked by this file" >"$help_folder"
fi
if [ -n "$tmpfs_drive" ]; then
    status=0
    bash "$here/tmpfs-drive.sh" mount "$tmpfs_dir" "$tmpfs_size" || status=$?
    if [ $status -eq 77 ]; then
        echo "run-scenario: SKIP $name: it needs a drive of its own size"
        rm -f "$session/dirty"
        exit 77
    fi
    [ $status -eq 0 ] || fail "cannot mount the tmpfs for drive $tmpfs_drive:"
    ln -sfn "$tmpfs_dir" "$WINEPREFIX/dosdevices/${tmpfs_drive,,}:"
fi
if [ ${#read_only_files[@]} -gt 0 ]; then
    status=0
    bash "$here/read-only-files.sh" make "$session" "$WINEPREFIX/drive_c" "${read_only_files[@]}" || status=$?
    if [ $status -eq 77 ]; then
        echo "run-scenario: SKIP $name: it needs read-only files"
        rm -f "$session/dirty"
        exit 77
    fi
    [ $status -eq 0 ] || fail "cannot make the read-only files"
fi
if [ "$check_drive_c" = yes ]; then
    bash "$here/drive-c-check.sh" take "$WINEPREFIX/drive_c" "$session/drive-c.before"
fi

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
if [ $status -eq 0 ] && [ "$check_drive_c" = yes ]; then
    bash "$here/drive-c-check.sh" compare "$WINEPREFIX/drive_c" "$session/drive-c.before" "${may_change[@]}" ||
        status=1
fi
if [ $status -ne 0 ]; then
    echo "run-scenario: $name failed (exit $status); ending what it left behind"
    restart_wine
fi
[ -z "$tmpfs_drive" ] || rm -f "$WINEPREFIX/dosdevices/${tmpfs_drive,,}:"
undo_preparations
trap - EXIT
rm -f "$session/dirty"
exit $status
