#!/usr/bin/env bash
# Measures Tidepool's speed against its yardsticks in one run and prints the ratios the goals in
# bench/README.md are stated in. These machines drift from day to day, so only ratios measured
# side by side mean anything: every round runs each side once, interleaved.
#
# Usage: scripts/bench.sh [rounds]   (default 5; the figures are medians over the rounds)
# Environment: TIDEPOOL_CAIRO_PEER  folder of the Cairo peer's cairo_crabs.cpp
#                                   (default: ../shared/peers/cairo_crabs beside the repository)
#              TIDEPOOL_BENCH_DIR   where the pictures are written (default: a new folder in
#                                   /tmp, removed at the end); the disk matters, as the renderer
#                                   flushes every file it writes
#              TIDEPOOL_BUILD_JOBS  compile jobs (default 2)
# The Cairo rows need libcairo2-dev and pkg-config; the PNG row needs ImageMagick's convert.
# Rows whose yardstick is missing are skipped with a line saying why.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
rounds=${1:-5}
build_dir="$repo/build/release"
peer_source=${TIDEPOOL_CAIRO_PEER:-$repo/../shared/peers/cairo_crabs}
peer="$repo/build/peer/cairo_crabs"

if [[ ! -f "$build_dir/build.ninja" ]]; then
    cmake -S "$repo" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build_dir" --parallel "${TIDEPOOL_BUILD_JOBS:-2}" \
    --target tidepool-render imgctl tidepool_bench tidepool_peak_rss tidepool_picture_cost
render="$build_dir/bin/tidepool-render"
bench="$build_dir/bin/tidepool_bench"

have_peer=no
if [[ -f $peer_source/cairo_crabs.cpp ]] && pkg-config --exists cairo 2>/dev/null; then
    mkdir -p "$(dirname "$peer")"
    # shellcheck disable=SC2046 # pkg-config's flags are separate words
    g++ -O2 -std=c++17 -o "$peer" "$peer_source/cairo_crabs.cpp" $(pkg-config --cflags --libs cairo)
    have_peer=yes
elif [[ ! -f $peer_source/cairo_crabs.cpp ]]; then
    echo "cairo_crabs: skipped, no cairo_crabs.cpp in $peer_source (set TIDEPOOL_CAIRO_PEER)"
else
    echo "cairo_crabs: skipped, Cairo's headers are missing (apt-get install libcairo2-dev pkg-config)"
fi
have_convert=no
if command -v convert >/dev/null; then
    have_convert=yes
else
    echo "PNG row: skipped, ImageMagick's convert is missing (apt-get install imagemagick)"
fi

if [[ -n ${TIDEPOOL_BENCH_DIR:-} ]]; then
    out=$TIDEPOOL_BENCH_DIR
    mkdir -p "$out"
else
    out=$(mktemp -d /tmp/tidepool-bench.XXXXXX)
    trap 'rm -rf "$out"' EXIT
fi

worst=(--width 2400 --height 2400 --magnification 0.1 --spacing 0.85 --layout slide
    --bubble-spacing 0.5 --crab-shadow on --bubble-shadow on)

# Wall-clock milliseconds of one command, its output discarded.
milliseconds() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

# The median of the numbers given.
median() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
        if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The median time of one benchmark case in milliseconds, from Google Benchmark's own median row.
bench_median() {
    "$bench" --benchmark_filter="^$1/" --benchmark_format=csv 2>/dev/null |
        awk -F, -v name="\"$1/repeats:5_median\"" '$1 == name { print $3 }'
}

declare -a normal frame cairo_worst uxga cairo_uxga png bmp convert_png bench_normal bench_frame
for ((round = 1; round <= rounds; round++)); do
    echo "round $round of $rounds"
    normal+=("$(milliseconds "$render" "${worst[@]}" -o "$out/w.bmp")")
    frame+=("$(milliseconds "$render" "${worst[@]}" --mode frame -o "$out/f.bmp")")
    png+=("$(milliseconds "$render" "${worst[@]}" -o "$out/w.png")")
    bmp+=("$(milliseconds "$render" "${worst[@]}" -o "$out/w.bmp")")
    if [[ $have_convert == yes ]]; then
        convert_png+=("$(milliseconds convert "$out/w.bmp" "$out/c.png")")
    fi
    uxga+=("$(bench_median DrawJob/uxga)")
    bench_normal+=("$(bench_median DrawJob/worst-normal)")
    bench_frame+=("$(bench_median DrawJob/worst-frame)")
    if [[ $have_peer == yes ]]; then
        cairo_worst+=("$("$peer" slide2400 "$out/c2400.png" | sed -n 's/^draw_ms_best_of_5=//p')")
        cairo_uxga+=("$("$peer" uxga "$out/cuxga.png" | sed -n 's/^draw_ms_best_of_5=//p')")
    fi
done

# One result row: what, the measured figures and the ratio against its goal.
row() {
    printf '%-58s %s\n' "$1" "$2"
}
ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}

echo
echo "Medians of $rounds rounds on $(nproc) cores of $(lscpu | sed -n 's/^Model name: *//p' | head -n 1)"
n=$(median "${normal[@]}")
f=$(median "${frame[@]}")
u=$(median "${uxga[@]}")
bn=$(median "${bench_normal[@]}")
bf=$(median "${bench_frame[@]}")
row "tidepool-render worst case, normal, BMP (whole process)" "$n ms"
row "tidepool-render worst case, frame, BMP (whole process)" "$f ms"
row "DrawJob/uxga (drawing only)" "$u ms"
if [[ $have_peer == yes ]]; then
    cw=$(median "${cairo_worst[@]}")
    cu=$(median "${cairo_uxga[@]}")
    row "cairo_crabs slide2400 (drawing only, best of 5)" "$cw ms"
    row "cairo_crabs uxga (drawing only, best of 5)" "$cu ms"
    row "ratio: worst case, normal, whole process vs Cairo" "$(ratio "$cw" "$n")x (goal >= 60x)"
    row "ratio: uxga drawing vs Cairo" "$(ratio "$cu" "$u")x (goal >= 25x)"
fi
row "ratio: DrawJob/worst-frame / DrawJob/worst-normal" \
    "$(ratio "$bf" "$bn") ($bf ms / $bn ms, goal <= 1.6)"
p=$(median "${png[@]}")
b=$(median "${bmp[@]}")
row "PNG step: worst case as PNG minus as BMP (whole processes)" "$((p - b)) ms"
if [[ $have_convert == yes ]]; then
    c=$(median "${convert_png[@]}")
    ours=$(stat -c %s "$out/w.png")
    theirs=$(stat -c %s "$out/c.png")
    row "convert w.bmp w.png (whole process)" "$c ms"
    row "ratio: PNG step vs convert" "$(ratio "$((p - b))" "$c") (goal <= 1)"
    row "ratio: PNG file vs convert's" "$(ratio "$ours" "$theirs") ($ours / $theirs bytes, goal <= 1.5)"
fi
"$build_dir/bin/tidepool_peak_rss" worst-frame
echo
"$build_dir/bin/tidepool_picture_cost" --rounds "$rounds"
