#!/usr/bin/env bash
# Builds every target and runs every test: the native build, the native build
# under AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows build
# (cross-compiled with mingw-w64) under Wine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/install-deps.sh test
jobs=$(nproc 2>/dev/null || echo 2)

run_build() {  # name, then cmake options
  local name=$1
  shift
  cmake -S . -B "build/$name" -DBUILD_TESTING=ON "$@" >/dev/null
  cmake --build "build/$name" -j "$jobs"
  (cd "build/$name" && ctest --output-on-failure)
}

run_build posix -DCMAKE_BUILD_TYPE=Release
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$top/tools/lsan.supp \
  run_build posix-sanitize -DCMAKE_BUILD_TYPE=Debug -DHARDCLONE_SANITIZE=ON
run_build windows -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
