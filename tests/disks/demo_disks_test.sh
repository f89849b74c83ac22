#!/usr/bin/env bash
# Makes the demo disks and checks them as the setup program will read them:
#   demo_disks_test.sh MAKE_DEMO_DISKS WIN32_BIN_DIR NATIVE_BIN_DIR OUT_DIR
# Skipped (77) when the Windows build has not made the setup program.
set -euo pipefail
make_demo_disks=$1
win32=$2
native=$3
out=$4

if [ ! -f "$win32/SETUP.EXE" ]; then
    echo "no Windows build in $win32: skipped"
    exit 77
fi

"$make_demo_disks" "$win32" "$native" "$out"
disks=$out/disks

"$native/mkdisks" verify "$disks/disk1" "$disks/disk2" "$disks/disk3" --against "$out/product"
"$native/mkdisks" list "$disks/disk1/SETUP.EXE"

# The demo exists to exercise every disk change: the archive must reach the third disk.
for n in 1 2 3; do
    volume=$disks/disk$n/Tavimore.00$n
    size=$(stat -c %s "$volume")
    used=0
    for file in "$disks/disk$n"/*; do used=$((used + $(stat -c %s "$file"))); done
    echo "disk$n: $used bytes in use, volume $size bytes"
    if [ "$size" -eq 0 ]; then
        echo "FAIL: $volume is empty; the demo does not need three disks" >&2
        exit 1
    fi
done
