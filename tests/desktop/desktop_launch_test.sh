#!/usr/bin/env bash
# Installs velmora into a temporary prefix, starts the installed desktop entry with two JPEG
# files and a text file as a file manager does (gio launch, under Xvfb), and checks that both
# crops were written and the program ended by itself; then uninstalls and checks that exactly
# our files went, the saved settings file staying.
set -euo pipefail
build=$1
work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

for tool in Xvfb gio cjpeg; do
  command -v "$tool" >/dev/null || fail "$tool is missing (test.sh installs it)"
done

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
entry=$prefix/share/applications/velmora.desktop
program=$prefix/lib/velmora/velmora
[ -x "$program" ] || fail "program not installed at $program"
[ "$(readlink "$prefix/bin/velmora")" = "$program" ] || fail "bin/velmora does not link to the program"
[ -f "$prefix/share/icons/hicolor/scalable/apps/velmora.svg" ] || fail "icon not installed"
grep -qx "Exec=\"$program\" %F" "$entry" || fail "Exec line: $(grep ^Exec= "$entry")"
grep -qx 'MimeType=image/jpeg;' "$entry" || fail "MimeType line missing"
grep -qx 'Terminal=false' "$entry" || fail "Terminal line missing"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop entry does not validate"
fi

# Photos with spaces and Japanese in their names, as a file manager hands them over.
photos="$work/My Photos"
mkdir -p "$photos"
make_jpeg() {
  { printf 'P6\n160 120\n255\n'; head -c $((160 * 120 * 3)) /dev/urandom; } | cjpeg -quality 90 >"$1"
}
make_jpeg "$photos/IMG 0001.JPG"
make_jpeg "$photos/写真.jpg"
echo "not a picture" >"$photos/notes.txt"

# A display of our own: the lowest free number.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -nolisten tcp -noreset -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -S "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
[ -S "/tmp/.X11-unix/X$display" ] || fail "Xvfb did not start"

export DISPLAY=":$display" XDG_DATA_HOME="$prefix/share" HOME="$work"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
gio launch "$entry" "$photos/IMG 0001.JPG" "$photos/写真.jpg" "$photos/notes.txt"

# gio returns as soon as it has asked for the start, which may come a moment later: wait until
# both crops are there and the program has gone, which it must do by itself.
done_or_late() {
  [ -s "$photos/IMG 0001_x.jpg" ] && [ -s "$photos/写真_x.jpg" ] && ! pgrep -f -- "$program" >/dev/null
}
for _ in $(seq 600); do
  done_or_late && break
  sleep 0.1
done
pgrep -f -- "$program" >/dev/null && fail "the program did not end by itself"
ls -la "$photos"
[ -s "$photos/IMG 0001_x.jpg" ] || fail "no crop of IMG 0001.JPG"
[ -s "$photos/写真_x.jpg" ] || fail "no crop of 写真.jpg"
[ ! -e "$photos/notes_x.jpg" ] || fail "the text file was cropped"
djpeg -pnm "$photos/IMG 0001_x.jpg" >"$work/crop.pnm"
size=$(sed -n 2p "$work/crop.pnm")
[ "$size" = "100 100" ] || fail "crop size is '$size', not 100 100"

# A settings file saved beside the program survives the uninstall; our files do not.
echo "[main]" >"$prefix/lib/velmora/velmora.ini"
"$(dirname "$0")/../../uninstall.sh" "$prefix" >/dev/null
[ ! -e "$program" ] && [ ! -L "$prefix/bin/velmora" ] && [ ! -e "$entry" ] ||
  fail "uninstall left files behind"
[ -f "$prefix/lib/velmora/velmora.ini" ] || fail "uninstall removed the settings file"
echo "desktop launch: both crops written, program ended by itself"
