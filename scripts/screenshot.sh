#!/usr/bin/env bash
# Makes docs/screenshot.png: the settings window as velmora shows it, on an X server of its own.
# Usage: scripts/screenshot.sh [path/to/velmora]   (without a path it builds build/velmora)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
velmora_install "${velmora_build_packages[@]}" xvfb xdotool imagemagick

program=${1:-}
if [ -z "$program" ]; then
  velmora_build build
  program=build/velmora
fi

# A copy in a folder of its own, so that no velmora.ini of a build changes what the window shows.
work=$(mktemp -d)
cp "$program" "$work/velmora"

display=
for n in $(seq 90 160); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=:$n; break; fi
done
[ -n "$display" ] || { echo "no free X display number" >&2; exit 1; }

Xvfb "$display" -nolisten tcp -noreset -screen 0 640x480x24 >/dev/null 2>&1 &
xvfb=$!
app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.05; done

DISPLAY=$display WAYLAND_DISPLAY= QT_QPA_PLATFORM= "$work/velmora" &
app=$!
window=$(DISPLAY=$display xdotool search --sync --onlyvisible --name '^velmora$' | head -n 1)
# Let the first paint finish; the focus is in the first field then, as a user first sees it.
sleep 1
mkdir -p docs
# Without date chunks, so that the same window gives the same file.
DISPLAY=$display import -window "$window" -define png:exclude-chunks=date,time docs/screenshot.png
echo "wrote docs/screenshot.png"
