#!/usr/bin/env bash
# Builds everything into build/: the native core, tools and tests (build/native) and, through it,
# the Windows programs cross-built with mingw-w64 (build/native/win32/bin).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
jobs=${JOBS:-$(nproc)}

bash "$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build/native" -j "$jobs"
