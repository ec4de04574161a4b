#!/usr/bin/env bash
# Removes what install.sh installed from the prefix (default ~/.local) and nothing else:
# a settings file saved beside the program stays, and so does its folder then.
set -euo pipefail
prefix=${1:-$HOME/.local}
libdir=$prefix/lib/velmora

remove_if_ours() {
  if [ -L "$1" ] || [ -f "$1" ]; then
    rm -f -- "$1" && echo "Removed $1"
  fi
}

# The link on the PATH is removed only when it points at our program.
link=$prefix/bin/velmora
if [ -L "$link" ] && [ "$(readlink "$link")" = "$libdir/velmora" ]; then
  remove_if_ours "$link"
fi
remove_if_ours "$libdir/velmora"
remove_if_ours "$prefix/share/applications/velmora.desktop"
remove_if_ours "$prefix/share/icons/hicolor/scalable/apps/velmora.svg"
if [ -d "$libdir" ] && ! rmdir -- "$libdir" 2>/dev/null; then
  echo "Kept $libdir (it holds your settings)"
fi
command -v update-desktop-database >/dev/null && update-desktop-database -q "$prefix/share/applications" 2>/dev/null || true
exit 0
