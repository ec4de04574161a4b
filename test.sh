#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
velmora_install "${velmora_build_packages[@]}" "${velmora_test_packages[@]}"
velmora_build build
cd build
exec ctest --output-on-failure -j"$(nproc)"
