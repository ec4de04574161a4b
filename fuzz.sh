#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# each for the given number of seconds (default 60) on a copy of its corpus under tests/corpus.
set -euo pipefail
cd "$(dirname "$0")"
seconds=${1:-60}
. scripts/deps.sh
velmora_install "${velmora_build_packages[@]}" "${velmora_fuzz_packages[@]}"

build=build-fuzz
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$build" -DVELMORA_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" -j"$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
"$build"/fuzz/make_fuzz_seeds tests/corpus
for target in "$build"/fuzz/fuzz_*; do
  name=$(basename "$target")
  corpus=$work/$name
  mkdir -p "$corpus"
  [ -d "tests/corpus/$name" ] && cp -r "tests/corpus/$name/." "$corpus/"
  echo "== $name: ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
      -artifact_prefix="$work/$name-" "$corpus" >"$work/$name.log" 2>&1; then
    status=1
    tail -n 40 "$work/$name.log"
    for crash in "$work/$name"-*; do
      [ -e "$crash" ] && cp "$crash" . && echo "kept $(basename "$crash") here"
    done
  else
    grep -E '^#[0-9]+.*DONE|Done [0-9]+ runs' "$work/$name.log" | tail -n 1 || true
  fi
done
exit $status
