#!/usr/bin/env bash
# Times the working part of an installation of the demo product under Wine (volume assembly,
# decoding and split: from I Agree to the Group dialog), with all volumes in one folder, and in the
# same run the native decode of the same archive and a plain copy of the product's files.
#   install-bench.sh BUILD_DIR [RUNS]
# BUILD_DIR is the native build (with win32/bin from the cross build). Prints the median of RUNS.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
runs=${2:-3}
demo=$build/demo
programs=$build/win32/bin
work=$build/install-bench
rm -rf "$work"
mkdir -p "$work"

[ -d "$demo/disks/disk1" ] ||
    bash "$here/../../tools/demo-product/make-demo-disks.sh" "$programs" "$build/bin" "$demo" >/dev/null

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
seconds_since() { echo "$(date +%s%N) $1" | awk '{ printf "%.3f\n", ($1 - $2) / 1e9 }'; }

session=$work/session
trap 'bash "$here/../e2e/session.sh" stop "$session" >/dev/null 2>&1' EXIT
bash "$here/../e2e/session.sh" start "$session" >/dev/null

wine_times=()
for _ in $(seq "$runs"); do
    log=$(bash "$here/../e2e/run-scenario.sh" --session "$session" --programs "$programs" --demo "$demo" \
        --shots "$work/shots" "$here/install-bench.scn")
    # The driver's lines end in CR LF, as a Windows console program's do.
    wine_times+=("$(tr -d '\r' <<<"$log" | sed -n 's/^ok .*window group .*\[\([0-9.]*\) s\]$/\1/p')")
done

cat "$demo"/disks/disk1/Tavimore.001 "$demo"/disks/disk2/Tavimore.002 "$demo"/disks/disk3/Tavimore.003 \
    > "$work/archive"
total=$("$build/bin/mkdisks" list "$demo/disks/disk1/SETUP.EXE" | sed -n 's/^total \([0-9]*\) bytes.*/\1/p')
decode_times=() copy_times=()
for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    "$build/bin/lzhuf" decode "$work/archive" "$work/bundle" "$total" >/dev/null
    decode_times+=("$(seconds_since "$start")")
    rm -rf "$work/copy"
    sync
    start=$(date +%s%N)
    cp -r "$demo/product" "$work/copy"
    sync
    copy_times+=("$(seconds_since "$start")")
done

wine=$(printf '%s\n' "${wine_times[@]}" | median)
decode=$(printf '%s\n' "${decode_times[@]}" | median)
copy=$(printf '%s\n' "${copy_times[@]}" | median)
echo "bundle $total bytes, archive $(stat -c %s "$work/archive") bytes, median of $runs runs"
echo "working part under Wine (IProgress to Group): $wine s"
echo "native decode of the archive:                 $decode s"
echo "plain copy of the product's files:            $copy s"
echo "ratio working part / (decode + copy):         $(echo "$wine $decode $copy" | awk '{ printf "%.2f", $1 / ($2 + $3) }') (target: at most 3)"
