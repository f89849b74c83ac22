#!/usr/bin/env bash
# A small file system for scenarios that fill a drive: a tmpfs of a fixed size, which Wine shows
# as a drive whose disk becomes full.
#   tmpfs-drive.sh mount FOLDER SIZE    mounts a tmpfs of SIZE (as mount takes it: 1m, 6m) at
#                                       FOLDER; exit status 77 and the reason when this machine
#                                       does not let the runner mount
#   tmpfs-drive.sh unmount FOLDER       unmounts it again, if it is mounted
set -euo pipefail

usage() { echo "usage: tmpfs-drive.sh mount FOLDER SIZE | unmount FOLDER" >&2; exit 2; }

case ${1:-} in
    mount)
        [ $# -eq 3 ] || usage
        mkdir -p "$2"
        if mountpoint -q "$2"; then umount "$2"; fi
        if ! reason=$(mount -t tmpfs -o "size=$3,mode=0755" tmpfs "$2" 2>&1); then
            echo "tmpfs-drive: cannot mount a tmpfs at $2 (${reason:-mount failed}); mounting needs root or CAP_SYS_ADMIN"
            exit 77
        fi ;;
    unmount)
        [ $# -eq 2 ] || usage
        # A program that a failed scenario left may still hold a file there: then the file system
        # goes once it lets go.
        if mountpoint -q "$2"; then umount "$2" 2>/dev/null || umount -l "$2"; fi ;;
    *) usage ;;
esac
