#!/usr/bin/env bash
# Makes the demo product's three distribution disks.
#   make-demo-disks.sh WIN32_BIN_DIR NATIVE_BIN_DIR OUT_DIR
# WIN32_BIN_DIR is the Windows build's bin folder: SETUP.EXE, the uninstaller UnInstal.Exe (which
# mkdisks adds to the bundle) and demo-product/ with Tavimore.Exe.
# NATIVE_BIN_DIR holds mkdisks and demo-data. OUT_DIR/product receives the product folder,
# OUT_DIR/disks the disks; both are made afresh.
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 WIN32_BIN_DIR NATIVE_BIN_DIR OUT_DIR" >&2
    exit 2
fi
win32=$1
native=$2
out=$3
here=$(cd "$(dirname "$0")" && pwd)

uninstaller=$win32/UnInstal.Exe
for needed in "$win32/SETUP.EXE" "$win32/demo-product/Tavimore.Exe" "$uninstaller" "$native/mkdisks" \
              "$native/demo-data"; do
    if [ ! -f "$needed" ]; then
        echo "make-demo-disks: $needed is missing; build the Windows and the native programs first" >&2
        exit 1
    fi
done

product=$out/product
disks=$out/disks
mkdir -p "$out"
rm -rf "$product" "$disks"
mkdir "$product"

cp "$win32/demo-product/Tavimore.Exe" "$product/"
cp "$here/files/QUENFOLD.HLP" "$here/files/QUENFOLD.LIB" "$here/files/QUENFOLD.DTP" "$product/"

build() {
    rm -rf "$disks"
    "$native/mkdisks" build --setup "$win32/SETUP.EXE" --uninstaller "$uninstaller" --out "$disks" \
        --manifest "$here/manifest.txt" "$product"
}

archive_size() {
    local size=0 volume
    for volume in "$disks"/disk*/Tavimore.00?; do size=$(( size + $(stat -c %s "$volume") )); done
    echo "$size"
}

# The product ships on three 1.44 MB disks (DiskCount 3). The archive is aimed at the middle of
# disk 3, whatever the size of the setup program on disk 1. The programs pack by an amount known
# only after packing, the random data by almost nothing: a first build measures, and the data is
# then corrected by what the archive missed.
disk=1457664
files=$(grep -c . "$here/manifest.txt")  # the other files and the uninstaller
setup_bytes=$(( $(stat -c %s "$win32/SETUP.EXE") + 28 * files + 5 ))
setup_space=$(( (setup_bytes + 511) / 512 * 512 ))
archive_target=$(( 3 * disk - setup_space - disk / 2 ))
if [ "$archive_target" -lt "$disk" ]; then
    echo "make-demo-disks: SETUP.EXE ($setup_bytes bytes with its file list) leaves too little room on three disks" >&2
    exit 1
fi

data=$archive_target
"$native/demo-data" "$product" "$data"
build > /dev/null
data=$(( data + archive_target - $(archive_size) ))
"$native/demo-data" "$product" "$data"
build

echo "demo product folder: $product"
echo "demo disks: $disks/disk1 $disks/disk2 $disks/disk3"
