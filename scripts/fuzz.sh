#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time, seeded with small
# pictures in every format the program reads. Any crash, sanitizer report or timeout fails it;
# the input that caused it is kept under build/fuzz/artifacts.
#
# Usage: scripts/fuzz.sh
# Environment: TIDEPOOL_FUZZ_SECONDS  seconds per target (default 60)
#              TIDEPOOL_BUILD_JOBS    compile jobs (default 2)
# The test script calls it after installing the dependencies; run alone, it assumes they are there.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$repo/build/fuzz"
seconds=${TIDEPOOL_FUZZ_SECONDS:-60}
jobs=${TIDEPOOL_BUILD_JOBS:-2}

rm -rf "$build"
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DTIDEPOOL_BUILD_FUZZERS=ON \
    -DTIDEPOOL_BUILD_TESTS=OFF -DTIDEPOOL_BUILD_BENCH=OFF
cmake --build "$build" --parallel "$jobs" --target imgctl make_seeds png_decoder_fuzz load_picture_fuzz

"$build/bin/make_seeds" "$build/seeds"
mkdir -p "$build/artifacts"

# The image decoders' remarks on every broken input would bury the fuzzer's own report.
export QT_LOGGING_RULES="qt.gui.imageio*=false"
status=0
for target in png_decoder_fuzz load_picture_fuzz; do
    case $target in
    png_decoder_fuzz) seeds="$build/seeds/png" ;;
    load_picture_fuzz) seeds="$build/seeds/load" ;;
    esac
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    echo "==> $target for $seconds s"
    # -timeout catches a hang on one input; -rss_limit_mb stays above the largest allowed picture.
    if ! "$build/bin/$target" "$corpus" "$seeds" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1; then
        echo "fuzz: $target failed; the input is in $build/artifacts" >&2
        status=1
    fi
done
exit "$status"
