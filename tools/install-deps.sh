#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  build-essential cmake pkg-config libglib2.0-dev googletest libgtest-dev libgmock-dev \
  g++-mingw-w64-x86-64 wine wine64 locales python3 e2fsprogs
