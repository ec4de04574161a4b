#!/usr/bin/env bash
# Installs the Debian packages that building and testing velmora need, only when one is missing.
# Sourced by run.sh and test.sh; the package list is the one place that names them.

velmora_build_packages=(
  cmake g++ make pkg-config
  qt6-base-dev            # Qt 6 Widgets: the window and its controls
  qt6-wayland             # the window on a Wayland session without X
  libjpeg62-turbo-dev     # libjpeg-turbo: decoding and encoding
  fonts-ipafont-gothic    # Japanese glyphs for the window's texts
)
velmora_test_packages=(
  libgtest-dev            # GoogleTest
  xvfb xdotool            # a real X server and input for the window tests
  x11-utils               # xprop: the window manager hints of the real window
  libjpeg-turbo-progs     # cjpeg/djpeg to make and inspect pictures independently
  libglib2.0-bin          # gio launch: starts the desktop entry as a file manager does
  desktop-file-utils      # desktop-file-validate
  util-linux              # setpriv, to prove permission refusals as an ordinary user
)
velmora_fuzz_packages=(
  clang libclang-rt-dev   # libFuzzer and the sanitizers' runtimes
)

velmora_missing_packages() {
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || printf '%s\n' "$pkg"
  done
}

velmora_install() {
  local missing
  mapfile -t missing < <(velmora_missing_packages "$@")
  [ "${#missing[@]}" -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

velmora_build() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE="${VELMORA_BUILD_TYPE:-RelWithDebInfo}" "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
}
