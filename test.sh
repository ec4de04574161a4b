#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the fuzz targets briefly, the whole
# suite under AddressSanitizer and UndefinedBehaviorSanitizer, and the whole suite as built
# normally, whose ctest summary closes the output. Exits non-zero when anything failed.
# VELMORA_QUICK=1 runs only the normal suite.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
velmora_install "${velmora_build_packages[@]}" "${velmora_test_packages[@]}" "${velmora_fuzz_packages[@]}"

jobs=$(nproc)
status=0
velmora_build build

if [ "${VELMORA_QUICK:-0}" != 1 ]; then
  echo "== fuzz targets"
  ./fuzz.sh "${VELMORA_FUZZ_SECONDS:-12}" || status=1

  echo "== the suite under the sanitizers"
  VELMORA_BUILD_TYPE=Debug velmora_build build-asan -DVELMORA_SANITIZE=ON
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
  LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j"$jobs" || status=1
fi

echo "== the suite"
ctest --test-dir build --output-on-failure -j"$jobs" || status=1
exit $status
