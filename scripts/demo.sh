#!/usr/bin/env bash
# Installs what is missing, builds everything, makes the demo product's three disks and installs
# the product with the setup program under Wine.
#   - With a display (DISPLAY set and reachable) the setup program runs there for you to answer;
#     all three volumes are put on drive A:, so no disk change is asked for.
#   - Without one it runs on Xvfb, driven through a whole installation with the default answers,
#     and saves a screenshot of each step under build/demo-shots.
# Either way the installed product is copied out to build/demo-installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/native
programs=$build/win32/bin
demo=$build/demo
installed=$root/build/demo-installed

bash "$root/scripts/build.sh"
bash "$root/tools/demo-product/make-demo-disks.sh" "$programs" "$build/bin" "$demo"
"$build/bin/mkdisks" verify "$demo/disks/disk1" "$demo/disks/disk2" "$demo/disks/disk3" --against "$demo/product"

session=$root/build/demo-session
trap 'bash "$root/tests/e2e/session.sh" stop "$session"' EXIT
rm -rf "$installed"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    export WINEPREFIX=$session/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$session"
    [ -d "$WINEPREFIX" ] || wineboot -i
    drive=$session/drive-a
    rm -rf "$drive"
    mkdir -p "$drive"
    cp "$demo"/disks/disk*/* "$drive/"
    ln -sfn "$drive" "$WINEPREFIX/dosdevices/a:"
    echo "demo: starting A:\\SETUP.EXE on $DISPLAY"
    status=0
    wine 'A:\SETUP.EXE' || status=$?
    wineserver -w
    echo "demo: the setup program ended with status $status"
    prefix=$WINEPREFIX
else
    shots=$root/build/demo-shots
    rm -rf "$shots"
    bash "$root/tests/e2e/session.sh" start "$session"
    bash "$root/tests/e2e/run-scenario.sh" --session "$session" --programs "$programs" --demo "$demo" \
        --shots "$shots" "$root/tests/e2e/scenarios/default-answers.scn"
    echo "demo: screenshots of every step in $shots"
    prefix=$session/prefix
fi

# The edit box upper-cases what it shows, so the folder's case follows the destination typed.
destination=$(find "$prefix/drive_c" -maxdepth 2 -iname quenfold -type d -path '*rogram*' | head -n 1)
if [ -n "$destination" ]; then
    cp -r "$destination" "$installed"
    echo "demo: Quenfold was installed to C:\\Program Files\\Quenfold in the Wine prefix; a copy is in $installed"
else
    echo "demo: Quenfold was not installed under C:\\Program Files"
fi
