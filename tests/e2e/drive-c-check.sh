#!/usr/bin/env bash
# Whole-drive comparison of the Wine prefix's drive C:, for scenarios that must write nothing
# outside their destination.
#   drive-c-check.sh take DRIVE_C LISTING
#       writes a listing of every entry below DRIVE_C (the prefix's drive_c folder): its kind, and
#       for a file its size and last-write time, for a symbolic link its target
#   drive-c-check.sh compare DRIVE_C LISTING [ALLOWED...]
#       takes a new listing and prints every path that was added, removed or changed since
#       LISTING, apart from Wine's temporary folders and the ALLOWED Windows paths; exit status 1
#       when there is any. An ALLOWED path such as C:\E2E\DEST allows that entry only,
#       C:\E2E\DEST\* the folder and everything in it. Paths are compared without regard to case,
#       as Windows compares them.
# Folders count only by their existence: their times change whenever an entry in them comes or
# goes, which the entry itself shows.
set -euo pipefail

usage() { echo "usage: drive-c-check.sh take DRIVE_C LISTING | compare DRIVE_C LISTING [ALLOWED...]" >&2; exit 2; }

# Wine's own scratch space, which any program's start may touch.
volatile=('users/*/temp/*' 'windows/temp/*')

list() {
    (cd "$1" && find . -mindepth 1 \( -type f -printf 'file %s %T@ %P\n' \) -o \( -type l -printf 'link %l %P\n' \) \
        -o -printf '%y %P\n') | tr '[:upper:]' '[:lower:]' | LC_ALL=C sort
}

# The path of a listing line: everything after the fields of its kind.
path_of() {
    case $1 in
        file\ *) cut -d' ' -f4- <<<"$1" ;;
        link\ *) cut -d' ' -f3- <<<"$1" ;;
        *) cut -d' ' -f2- <<<"$1" ;;
    esac
}

# C:\Program Files\X or C:\Program Files\X\* as a pattern for a path of the listing.
pattern_of() {
    local path=${1//\\//}
    path=${path,,}
    path=${path#c:/}
    case $path in
        */\*) echo "${path%/\*}"; echo "$path" ;;
        *) echo "$path" ;;
    esac
}

[ $# -ge 3 ] || usage
action=$1 drive=$2 listing=$3
shift 3
case $action in
    take) list "$drive" >"$listing" ;;
    compare)
        patterns=("${volatile[@]}")
        for allowed in "$@"; do
            while IFS= read -r pattern; do patterns+=("$pattern"); done < <(pattern_of "$allowed")
        done
        changed=()
        while IFS= read -r line; do
            path=$(path_of "$line")
            for pattern in "${patterns[@]}"; do
                # shellcheck disable=SC2053  # the pattern is a glob on purpose
                [[ $path == $pattern ]] && continue 2
            done
            changed+=("$path")
        done < <(diff <(cat "$listing") <(list "$drive") | sed -n 's/^[<>] //p')
        [ ${#changed[@]} -eq 0 ] && exit 0
        echo "drive C: changed outside what the scenario may change:"
        printf '%s\n' "${changed[@]}" | sort -u | sed 's/^/    C:\\/; s#/#\\#g'
        exit 1 ;;
    *) usage ;;
esac
