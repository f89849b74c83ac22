#!/usr/bin/env bash
# Read-only files that Wine keeps read-only for root too. Wine shows a file without write
# permission as read-only and refuses to delete it, but lets root open it for writing, which
# Windows refuses. Made immutable (chattr +i), the file refuses every write as on Windows, with
# "access denied".
#   read-only-files.sh make SESSION_DIR DRIVE_C WINDOWS_PATH...
#       creates each file (and its folders) below DRIVE_C, the prefix's drive_c, holding the text
#       "This file is read-only.", and makes it read-only; exit status 77 and the reason where
#       files cannot be made immutable
#   read-only-files.sh undo SESSION_DIR
#       makes the files writable again, so that the runner's reset can remove them
set -euo pipefail

usage() { echo "usage: read-only-files.sh make SESSION_DIR DRIVE_C WINDOWS_PATH... | undo SESSION_DIR" >&2; exit 2; }

[ $# -ge 2 ] || usage
action=$1 record="$2/read-only-files"
case $action in
    make)
        [ $# -ge 4 ] || usage
        drive=$3
        shift 3
        for windows_path in "$@"; do
            relative=${windows_path#[cC]:\\}
            file="$drive/${relative//\\//}"
            mkdir -p "$(dirname "$file")"
            printf 'This file is read-only.' >"$file"
            chmod a-w "$file"
            echo "$file" >>"$record"
            if ! reason=$(chattr +i "$file" 2>&1); then
                echo "read-only-files: cannot make $windows_path immutable (${reason:-chattr failed}); it needs root on a file system with the immutable flag"
                exit 77
            fi
        done ;;
    undo)
        [ -f "$record" ] || exit 0
        # A file that could not be made immutable has nothing to undo.
        while IFS= read -r file; do
            [ ! -e "$file" ] || chattr -i "$file" 2>/dev/null || true
        done <"$record"
        rm -f "$record" ;;
    *) usage ;;
esac
