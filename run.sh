#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs velmora with the given files.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
velmora_install "${velmora_build_packages[@]}"
velmora_build build
exec build/velmora "$@"
