#!/usr/bin/env bash
# Builds velmora and installs it for the current user (or into the prefix given).
set -euo pipefail
cd "$(dirname "$0")"
prefix=${1:-$HOME/.local}
. scripts/deps.sh
velmora_install "${velmora_build_packages[@]}"
velmora_build build -DCMAKE_INSTALL_PREFIX="$prefix"
cmake --install build --prefix "$prefix"
# Let the desktop see the new entry and icon at once where the tools exist.
command -v update-desktop-database >/dev/null && update-desktop-database -q "$prefix/share/applications" || true
command -v gtk-update-icon-cache >/dev/null && gtk-update-icon-cache -q -t "$prefix/share/icons/hicolor" 2>/dev/null || true
echo "velmora is installed in $prefix/lib/velmora; drop JPEG files on its launcher, or run $prefix/bin/velmora."
