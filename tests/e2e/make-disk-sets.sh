#!/usr/bin/env bash
# Makes the disk sets that the scenarios install from, each as OUT_DIR/SET/product (the product's
# files) and OUT_DIR/SET/disks/disk1 ... (its disks), the demo's as OUT_DIR/product and
# OUT_DIR/disks:
#   make-disk-sets.sh WIN32_BIN_DIR NATIVE_BIN_DIR OUT_DIR
#   - the demo product on three 1.44 MB disks (tools/demo-product/make-demo-disks.sh);
#   - zeros: the demo's main program and 4 MB of zeros, which pack to almost nothing, so that
#     the bundle and the split need far more room than the archive (for a destination that
#     fills up while the bundle or the split is written);
#   - large: the demo's main program and about 40 MB of data that does not pack, on three disks of
#     16 MB, so that the working dialogs stay up long enough for a click during their work.
# Every set gets the uninstaller, as the demo's does.
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 WIN32_BIN_DIR NATIVE_BIN_DIR OUT_DIR" >&2
    exit 2
fi
win32=$1 native=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)

bash "$here/../../tools/demo-product/make-demo-disks.sh" "$win32" "$native" "$out"

# new_set NAME: an empty product folder with the demo's main program, and no disks yet.
new_set() {
    rm -rf "${out:?}/$1"
    mkdir -p "$out/$1/product"
    cp "$win32/demo-product/Tavimore.Exe" "$out/$1/product/"
}

build_set() {
    local name=$1
    shift
    "$native/mkdisks" build --setup "$win32/SETUP.EXE" --uninstaller "$win32/UnInstal.Exe" \
        --out "$out/$name/disks" "$@" "$out/$name/product" 2>/dev/null
}

new_set zeros
head -c 4194304 /dev/zero >"$out/zeros/product/ZEROS.DAT"
build_set zeros

new_set large
"$native/demo-data" "$out/large/product" 40000000
build_set large --disk-size 16777216
