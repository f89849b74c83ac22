#!/usr/bin/env bash
# The end-to-end session: one Xvfb display and one throwaway 32-bit Wine prefix for a whole test
# run, shared by the scenarios, which run one at a time.
#   session.sh start SESSION_DIR   starts Xvfb, creates SESSION_DIR/prefix, keeps wineserver alive
#   session.sh stop SESSION_DIR    ends wineserver and Xvfb and removes the prefix
# start writes SESSION_DIR/session.env, which run-scenario.sh reads.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

usage() { echo "usage: session.sh start|stop SESSION_DIR" >&2; exit 2; }
[ $# -eq 2 ] || usage
action=$1
session=$(mkdir -p "$2" && cd "$2" && pwd)
env_file="$session/session.env"

stop_session() {
    # A scenario cut short may have left a tmpfs mounted or files that cannot be removed.
    bash "$here/tmpfs-drive.sh" unmount "$session/tmpfs-drive"
    bash "$here/read-only-files.sh" undo "$session"
    [ -f "$env_file" ] || return 0
    # shellcheck source=/dev/null
    . "$env_file"
    # Ends every process of the prefix, the persistent server included.
    wineserver -k 2>/dev/null || true
    # The recorded pid is ended only while it is still our Xvfb, never a process that reused it.
    if [ -n "${E2E_XVFB_PID:-}" ] && [ "$(cat "/proc/$E2E_XVFB_PID/comm" 2>/dev/null)" = Xvfb ]; then
        kill "$E2E_XVFB_PID" 2>/dev/null || true
    fi
    rm -f "$env_file"
}

start_session() {
    stop_session
    rm -rf "$session/prefix" "$session/baseline"

    # -displayfd lets Xvfb pick a free display itself: no guessing, no clash with another run.
    local display_file="$session/display"
    rm -f "$display_file"
    # Processes that outlive this script keep none of its output open: a test runner waits until
    # every holder of its output pipe has closed it.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" </dev/null >"$session/xvfb.log" 2>&1 &
    local xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$display_file" ] && break
        sleep 0.1
    done
    [ -s "$display_file" ] || { echo "session: Xvfb did not start, see $session/xvfb.log" >&2; exit 1; }

    cat >"$env_file" <<ENV
export DISPLAY=:$(head -n1 "$display_file")
export WINEPREFIX='$session/prefix'
# A 32-bit prefix, as the setup program's platform: no registry redirection to Wow6432Node.
export WINEARCH=win32
export WINEDEBUG=-all
# Without these the first start offers to download Mono and Gecko in a dialog that nobody answers.
export WINEDLLOVERRIDES='mscoree,mshtml='
E2E_XVFB_PID=$xvfb_pid
ENV
    # shellcheck source=/dev/null
    . "$env_file"

    # wineboot -i builds the prefix (about 11 s for win32); wineserver -w waits until it has ended
    # and the registry is on disk. Only then -p starts the server that stays alive between
    # scenarios, so that each wine start costs a fraction of a second. A persistent server started
    # on the empty folder lets the boot start a second, broken services.exe: the RpcSs service then
    # never starts, and every new desktop waits 10 s for it.
    wineboot -i </dev/null >"$session/wineboot.log" 2>&1
    wineserver -w
    wineserver -p </dev/null >/dev/null 2>&1

    # A virtual desktop per screen size (HKCU\Software\Wine\Explorer\Desktops): run-scenario.sh
    # picks the desktop by name, and then `wine PROGRAM` returns the program's exit code and
    # GetSystemMetrics gives the desktop's size. A running desktop keeps its size, so a size
    # change needs another desktop name, not a changed value.
    local programs
    wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v Programs \
        </dev/null >"$session/programs.txt" 2>&1 || true
    programs=$(tr -d '\r' <"$session/programs.txt" | sed -n 's/^ *Programs *REG_SZ *//p')
    [ -n "$programs" ] || { echo "session: the prefix names no Programs folder" >&2; exit 1; }
    # The shell names the Programs folder before anything creates it; a shortcut can only be saved
    # into an existing folder.
    local programs_unix="$WINEPREFIX/drive_c/${programs#C:\\}"
    programs_unix=${programs_unix//\\//}
    mkdir -p "$programs_unix"
    echo "E2E_PROGRAMS_DIR='$programs_unix'" >>"$env_file"

    # Whatever is newer than this file in the Programs and help folders was left by a scenario.
    touch "$session/baseline"
    echo "session: display $DISPLAY, prefix $WINEPREFIX"
}

case $action in
    start) start_session ;;
    stop) stop_session; rm -rf "$session/prefix" ;;
    *) usage ;;
esac
