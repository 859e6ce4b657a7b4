#!/usr/bin/env bash
# Installs what is missing on Debian 12: "build" for the native tool (the
# default), "test" for every build and test (mingw-w64, Wine, GoogleTest).
set -euo pipefail
build=(g++ cmake make pkg-config libglib2.0-dev)
test=("${build[@]}" googletest libgtest-dev g++-mingw-w64-x86-64 wine wine64 locales python3
      e2fsprogs)
case "${1:-build}" in
  build) wanted=("${build[@]}") ;;
  test) wanted=("${test[@]}") ;;
  *) echo "usage: $0 [build|test]" >&2; exit 2 ;;
esac
missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${missing[@]}"
