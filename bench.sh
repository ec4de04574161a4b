#!/usr/bin/env bash
# Measures velmora's batch against its straightforward full-decode path and two peers
# (djpeg | pamcut | cjpeg, and vips crop) on photo-like 24 MP and 12 MP files, and its
# start-up and peak memory. Prints medians and ratios, checks the targets and writes the
# figures to docs/benchmark.md.
#
#   ./bench.sh      REPEATS (5) runs of everything; velmora's batch takes as many copies of a
#                   file as fill about BATCH_MS (1000) ms, the full decode FULL_COPIES (4)
set -euo pipefail

ROOT=$(cd "$(dirname "$0")" && pwd)
BUILD="$ROOT/build-bench"
WORK="$BUILD/work"
CORPUS="$BUILD/corpus"
REPEATS=${REPEATS:-5}
BATCH_MS=${BATCH_MS:-1000}
FULL_COPIES=${FULL_COPIES:-4}
MEMORY_COPIES=6
REPORT="$ROOT/docs/benchmark.md"

# ---- Peers and build tools, installed only when missing

ensure_packages() {
    local missing=()
    local pair
    for pair in djpeg:libjpeg-turbo-progs pamcut:netpbm vips:libvips-tools /usr/bin/time:time \
                cmake:cmake g++:g++; do
        command -v "${pair%%:*}" >/dev/null 2>&1 || missing+=("${pair#*:}")
    done
    local package
    for package in qt6-base-dev libjpeg62-turbo-dev; do
        dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    echo "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S "$ROOT/bench" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$BUILD" --target velmora velmora_makephoto velmora_fullcrop -j2 >/dev/null
}

# ---- Corpus: made once, kept in the build folder

make_corpus() {
    mkdir -p "$CORPUS"
    local spec name width height kind
    for spec in baseline:6000:4000:420 progressive:6000:4000:progressive \
                s444:6000:4000:444 gray:4000:3000:gray; do
        IFS=: read -r name width height kind <<<"$spec"
        [ -s "$CORPUS/$name.jpg" ] && continue
        "$BUILD/bench/velmora_makephoto" "$CORPUS/$name.jpg" "$width" "$height" "$kind"
    done
    [ -s "$CORPUS/tiny.jpg" ] || "$BUILD/bench/velmora_makephoto" "$CORPUS/tiny.jpg" 64 48 420
}

file_label() {
    case $1 in
        baseline) echo "baseline 4:2:0 24 MP" ;;
        progressive) echo "progressive 4:2:0 24 MP" ;;
        s444) echo "baseline 4:4:4 24 MP" ;;
        gray) echo "gray 12 MP" ;;
    esac
}

picture_size() {  # prints "width height" of a corpus file, as make_corpus makes them
    case $1 in
        gray) echo "4000 3000" ;;
        *) echo "6000 4000" ;;
    esac
}

# ---- Timing

now_ns() { date +%s%N; }

# Runs the command REPEATS times and prints the median wall time in milliseconds.
median_ms() {
    local times=() i start end
    for ((i = 0; i < REPEATS; i++)); do
        start=$(now_ns)
        "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
        end=$(now_ns)
        times+=($(( (end - start) / 1000 )))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", v[int((NR + 1) / 2)] / 1000 }'
}

headless() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen "$@"; }

# A copy of the program with a velmora.ini giving the rectangle, and links to the file.
prepare_run() {  # folder x y w h source copies
    local dir=$1
    rm -rf "$dir"
    mkdir -p "$dir"
    cp "$BUILD/velmora" "$dir/velmora"
    printf '[main]\nx=%s\ny=%s\nxx=%s\nyy=%s\nname_bottom=_x\n' "$2" "$3" "$4" "$5" >"$dir/velmora.ini"
    add_copies "$dir" "$6" "$7"
}

add_copies() {  # folder source count: links copy1.jpg ... copyN.jpg to the source
    local i
    for ((i = 1; i <= $3; i++)); do
        [ -e "$1/copy$i.jpg" ] || ln "$2" "$1/copy$i.jpg"
    done
}

copies_of() { local i; for ((i = 1; i <= $2; i++)); do echo "$1/copy$i.jpg"; done; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
# The batch's cost per file with the program's start-up taken off.
per_file() { awk -v t="$1" -v s="$2" -v n="$3" 'BEGIN { v = (t - s) / n; if (v < 0) v = 0; printf "%.1f", v }'; }
# As many copies as make a batch of about BATCH_MS, from a first estimate; 4 to 40.
batch_copies() { awk -v t="$1" -v b="$BATCH_MS" 'BEGIN { n = int(b / (t < 1 ? 1 : t)); if (n < 4) n = 4; if (n > 40) n = 40; print n }'; }

CHECKS=()
check() {  # description ok(0/1)
    if [ "$2" = 1 ]; then CHECKS+=("PASS  $1"); else CHECKS+=("FAIL  $1"); fi
}
at_most() { awk -v a="$1" -v b="$2" 'BEGIN { print (a <= b) ? 1 : 0 }'; }

# ---- The measurements

measure_startup() {
    prepare_run "$WORK/startup" 0 0 16 16 "$CORPUS/tiny.jpg" 1
    STARTUP_MS=$(REPEATS=$((REPEATS + 2)) median_ms headless "$WORK/startup/velmora" "$WORK/startup/copy1.jpg")
}

ROWS=()
measure_case() {  # file-name rect-name x y w h
    local name=$1 rect=$2 x=$3 y=$4 w=$5 h=$6
    local source="$CORPUS/$name.jpg" dir="$WORK/$name-$rect"
    prepare_run "$dir" "$x" "$y" "$w" "$h" "$source" 2
    local files estimate copies batch full djpeg_ms vips_ms program
    estimate=$(REPEATS=1 median_ms headless "$dir/velmora" "$dir/copy1.jpg" "$dir/copy2.jpg")
    copies=$(batch_copies "$(per_file "$estimate" "$STARTUP_MS" 2)")
    add_copies "$dir" "$source" "$copies"
    mapfile -t files < <(copies_of "$dir" "$copies")
    batch=$(median_ms headless "$dir/velmora" "${files[@]}")
    program=$(per_file "$batch" "$STARTUP_MS" "$copies")
    mapfile -t files < <(copies_of "$dir" "$FULL_COPIES")
    full=$(median_ms "$BUILD/bench/velmora_fullcrop" "$x" "$y" "$w" "$h" "${files[@]}")
    full=$(awk -v t="$full" -v n="$FULL_COPIES" 'BEGIN { printf "%.1f", t / n }')
    djpeg_ms=$(median_ms sh -c "djpeg -dct float '$source' | pamcut -left $x -top $y -width $w -height $h | cjpeg -dct float -quality 90 > '$dir/djpeg.jpg'")
    vips_ms=$(median_ms vips crop "$source" "$dir/vips.jpg[Q=90]" "$x" "$y" "$w" "$h")
    local same=NO
    cmp -s "$dir/copy1_x.jpg" "$dir/copy1_f.jpg" && same=yes
    ROWS+=("$(file_label "$name")|$rect|$full|$program|$(ratio "$program" "$full")|$vips_ms|$(ratio "$vips_ms" "$full")|$djpeg_ms|$(ratio "$djpeg_ms" "$full")|$copies|$same")
    printf '  %-24s %-22s full %6s ms  velmora %6s ms (%2d copies)  vips %6s ms  djpeg %6s ms  same bytes: %s\n' \
        "$(file_label "$name")" "$rect" "$full" "$program" "$copies" "$vips_ms" "$djpeg_ms" "$same"
    rm -f "$dir"/copy*.jpg

    check "$(file_label "$name"), $rect: same bytes as the full decode" "$([ "$same" = yes ] && echo 1 || echo 0)"
    check "$(file_label "$name"), $rect: not slower than vips crop ($program <= $vips_ms ms)" "$(at_most "$program" "$vips_ms")"
    case "$name:$rect" in
        baseline:"top-left 100 x 100")
            check "baseline top-left 100 x 100 at most 1/20 of the full decode ($program <= $full / 20 ms)" "$(at_most "$program" "$(awk -v f="$full" 'BEGIN { print f / 20 }')")" ;;
        baseline:"centre 1000 x 1000")
            check "baseline centre 1000 x 1000 at most 1/4 of the full decode ($program <= $full / 4 ms)" "$(at_most "$program" "$(awk -v f="$full" 'BEGIN { print f / 4 }')")" ;;
        progressive:"top-left 100 x 100")
            check "progressive top-left 100 x 100 at most 3/4 of the full decode ($program <= $full * 3 / 4 ms)" "$(at_most "$program" "$(awk -v f="$full" 'BEGIN { print f * 3 / 4 }')")" ;;
    esac
}

peak_kb() { /usr/bin/time -f %M env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen "$@" 2>&1 >/dev/null | tail -1; }

MEMORY_ROWS=()
measure_memory() {  # file-name rect-name x y w h
    local dir="$WORK/memory-$1-$2"
    prepare_run "$dir" "$3" "$4" "$5" "$6" "$CORPUS/$1.jpg" "$MEMORY_COPIES"
    local files many
    mapfile -t files < <(copies_of "$dir" "$MEMORY_COPIES")
    many=$(peak_kb "$dir/velmora" "${files[@]}")
    local above=$(( (many - TINY_KB) / 1024 ))
    MEMORY_ROWS+=("$(file_label "$1"), $2|$((TINY_KB / 1024))|$((many / 1024))|$above")
    printf '  %-24s %-22s one tiny file %4d MB, %d files %4d MB: %d MB above\n' \
        "$(file_label "$1")" "$2" $((TINY_KB / 1024)) "$MEMORY_COPIES" $((many / 1024)) "$above"
    if [ "$1:$2" = "baseline:top-left 100 x 100" ]; then
        check "peak memory of a 24 MP batch, 100 x 100 crop, at most 16 MB above one tiny file ($above MB)" \
            "$([ "$above" -le 16 ] && echo 1 || echo 0)"
    fi
}

write_report() {
    mkdir -p "$(dirname "$REPORT")"
    {
        echo "# Benchmark"
        echo
        echo "Made by \`./bench.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) at the end;"
        echo "libjpeg-turbo $(dpkg-query -W -f '${Version}' libjpeg62-turbo 2>/dev/null), $(vips --version 2>/dev/null | head -1)."
        echo "Medians of $REPEATS runs, in milliseconds per file. velmora's figure is the cost per file of one"
        echo "headless batch over the number of copies of the file given, its start-up taken off; the full"
        echo "decode is the straightforward path (read the whole file, decode it at full size, cut, encode,"
        echo "write), in a program of the benchmark's own, over $FULL_COPIES copies; the peers run once per file."
        echo "Ratios are to the full decode of the same file in the same run. Every output is written with"
        echo "the program's own safe replacement, which waits for the disk (fsync)."
        echo
        echo "| File | Crop | full decode | velmora | ratio | vips crop | ratio | djpeg, pamcut, cjpeg | ratio | copies | same bytes as full decode |"
        echo "|---|---|---|---|---|---|---|---|---|---|---|"
        local row
        for row in "${ROWS[@]}"; do echo "| ${row//|/ | } |"; done
        echo
        echo "Start-up with one tiny file, from exec to exit, headless: $STARTUP_MS ms."
        echo
        echo "Peak memory (maximum resident set) of one batch:"
        echo
        echo "| Files, crop | one tiny file (MB) | $MEMORY_COPIES files (MB) | above one tiny file (MB) |"
        echo "|---|---|---|---|"
        for row in "${MEMORY_ROWS[@]}"; do echo "| ${row//|/ | } |"; done
        echo
        echo "Targets:"
        echo
        for row in "${CHECKS[@]}"; do echo "- $row"; done
        echo
        echo "What the figures come from:"
        echo
        echo "- A colour file is decoded only in the rectangle's columns, with a margin of two blocks and a pixel"
        echo "  on each side, and only in its rows: the rows above are skipped, which still costs"
        echo "  their entropy decoding, and the file is read no further than its last row. The bottom-right rectangle"
        echo "  therefore costs the entropy decoding of the whole file, and the centre one that of 62 % of it."
        echo "- A progressive file's scans must all be read before the first row comes out; the library keeps"
        echo "  the coefficients of the whole picture for that (about 70 MB for 24 MP), which is what its"
        echo "  memory and most of its time are."
        echo "- A gray file's dither carries its error through every row and column, so it is decoded and"
        echo "  dithered at full width down to the rectangle's last row."
        echo "- Memory freed after one file is kept for the next, so later files of a batch need no fresh pages.
  The full decode takes fresh pages for every file's picture.
- Encoding the crop and the safe replacement of the output (which waits for the disk: 1 to 10 ms
  here) cost every path the same; for a 1000 x 1000 crop they are about a quarter of velmora's figure."
    } >"$REPORT"
}

main() {
    ensure_packages
    echo "building into $BUILD"
    build
    echo "making the corpus in $CORPUS"
    make_corpus
    rm -rf "$WORK"
    mkdir -p "$WORK"

    measure_startup
    echo "start-up with one tiny file: $STARTUP_MS ms"
    check "start-up with one small file under 150 ms ($STARTUP_MS ms)" "$(at_most "$STARTUP_MS" 150)"

    echo "per-file cost (medians of $REPEATS):"
    local name width height
    for name in baseline progressive s444 gray; do
        read -r width height < <(picture_size "$name")
        measure_case "$name" "top-left 100 x 100" 0 0 100 100
        measure_case "$name" "centre 1000 x 1000" $(( (width - 1000) / 2 )) $(( (height - 1000) / 2 )) 1000 1000
        measure_case "$name" "bottom-right 100 x 100" $((width - 100)) $((height - 100)) 100 100
    done

    echo "peak memory:"
    TINY_KB=$(peak_kb "$WORK/startup/velmora" "$WORK/startup/copy1.jpg")
    measure_memory baseline "top-left 100 x 100" 0 0 100 100
    measure_memory baseline "centre 1000 x 1000" 2500 1500 1000 1000
    measure_memory progressive "top-left 100 x 100" 0 0 100 100

    echo "targets:"
    printf '  %s\n' "${CHECKS[@]}"
    write_report
    echo "figures written to $REPORT"
    rm -rf "$WORK"
}

main "$@"
