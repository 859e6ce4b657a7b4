#!/usr/bin/env bash
# Builds the native tool into build/posix/hardclone.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/install-deps.sh" build
cmake -S "$top" -B "$top/build/posix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$top/build/posix" -j "$(nproc 2>/dev/null || echo 2)" --target hardclone >/dev/null
