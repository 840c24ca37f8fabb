#!/usr/bin/env bash
# Checks that no folder includes one above it (scripts/check_layers.sh) and that every C++ file is
# laid out as .clang-format says (scripts/check_format.sh), then builds Tidepool from scratch and
# runs every test twice: in an optimised Release build (which also builds the benchmark) and in a
# build instrumented with AddressSanitizer and UndefinedBehaviorSanitizer. Puts the wallpaper on
# real desktops started for the purpose and reads the screen back (scripts/desktop_tests.sh).
# Builds the Debian package and checks it without installing it (scripts/package.sh,
# scripts/check_package.sh, which builds it once more elsewhere and compares the two). Then runs
# each fuzz target for a bounded time (scripts/fuzz.sh). Missing Debian packages are installed
# first.
#
# Usage: scripts/test.sh
# Environment: TIDEPOOL_TEST_JOBS    tests ctest runs at once (default 1)
#              TIDEPOOL_BUILD_JOBS   compile jobs (default 2)
#              TIDEPOOL_FUZZ_SECONDS seconds per fuzz target (default 60)
# Exits non-zero when any step fails; every build is still attempted so one run shows all failures.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
# shellcheck source-path=SCRIPTDIR source=deps.sh
source "$repo/scripts/deps.sh"

build_jobs=${TIDEPOOL_BUILD_JOBS:-2}
test_jobs=${TIDEPOOL_TEST_JOBS:-1}
# Sanitizer reports must stop the test that triggers them and say where they came from.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

summary=()
failed=0
tests_passed=0
tests_failed=0
script_start=$SECONDS

# Runs one named step, timing it and recording PASS or FAIL for the closing summary.
run_step() {
    local name=$1
    shift
    local start=$SECONDS
    echo
    echo "==> $name"
    echo "    $*"
    if "$@"; then
        summary+=("PASS     $name ($((SECONDS - start)) s)")
        return 0
    fi
    summary+=("FAIL     $name ($((SECONDS - start)) s)")
    failed=1
    return 1
}

skip_step() {
    summary+=("SKIPPED  $1 (an earlier step failed)")
}

print_summary() {
    echo
    echo "================ Tidepool test summary ================"
    local line
    for line in "${summary[@]}"; do
        echo "  $line"
    done
    echo "  total time: $((SECONDS - script_start)) s"
    if ((failed)); then
        echo "  RESULT: FAILED"
    else
        echo "  RESULT: all builds and tests passed"
    fi
    echo "======================================================="
}

# Configures, builds and tests one tree from nothing; later steps of a tree are skipped once one
# of its steps fails, since they could only report the same fault again.
build_and_test() {
    local label=$1 dir=$2 bench=$3
    shift 3
    rm -rf "$dir"
    if ! run_step "$label: configure" cmake -S "$repo" -B "$dir" -G Ninja "$@"; then
        skip_step "$label: build"
        skip_step "$label: ctest"
        return
    fi
    if ! run_step "$label: build" cmake --build "$dir" --parallel "$build_jobs"; then
        skip_step "$label: ctest"
        return
    fi
    if [[ $bench == yes ]]; then
        # The default target already includes it; asking by name makes a missing benchmark fail.
        run_step "$label: benchmark build" \
            cmake --build "$dir" --parallel "$build_jobs" --target tidepool_bench tidepool_peak_rss ||
            true
    fi
    run_step "$label: ctest" run_ctest "$dir" || true
}

# Runs one tree's tests, keeping ctest's own output and adding its counts to the totals.
# shellcheck disable=SC2317 # called through run_step
run_ctest() {
    local dir=$1 status total failures
    ctest --test-dir "$dir" --output-on-failure --no-tests=error --timeout 900 \
        --parallel "$test_jobs" 2>&1 | tee "$dir/ctest.log"
    status=${PIPESTATUS[0]}
    # "100% tests passed, 0 tests failed out of 312"
    read -r failures total < <(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' \
        "$dir/ctest.log" | tail -n 1)
    if [[ -n ${total:-} ]]; then
        tests_failed=$((tests_failed + failures))
        tests_passed=$((tests_passed + total - failures))
    fi
    return "$status"
}

# Puts the wallpaper on the real desktops, adding their cases to the totals.
# shellcheck disable=SC2317 # called through run_step
run_desktop_tests() {
    local log="$repo/build/desktops.log" status passed failures
    bash "$repo/scripts/desktop_tests.sh" "$1" 2>&1 | tee "$log"
    status=${PIPESTATUS[0]}
    read -r passed failures < <(sed -n 's/^desktops: \([0-9]*\) passed, \([0-9]*\) failed$/\1 \2/p' \
        "$log")
    tests_passed=$((tests_passed + ${passed:-0}))
    tests_failed=$((tests_failed + ${failures:-0}))
    return "$status"
}

if ! run_step "install dependencies" tidepool_install_dependencies; then
    print_summary
    exit 1
fi
echo
echo "cmake: $(cmake --version | head -n 1)"
echo "c++:   $(c++ --version | head -n 1)"
echo "ninja: $(ninja --version)"

# No folder includes one above it (scripts/layers.txt) and every C++ file is formatted; both are
# cheap, so they run before any build.
run_step "layers" bash "$repo/scripts/check_layers.sh" || true
run_step "format" bash "$repo/scripts/check_format.sh" || true
build_and_test release "$repo/build/release" yes -DCMAKE_BUILD_TYPE=Release
if [[ -x $repo/build/release/bin/tidepool-render ]]; then
    run_step "real desktops" run_desktop_tests "$repo/build/release/bin/tidepool-render" || true
else
    skip_step "real desktops"
fi
if run_step "package: build" bash "$repo/scripts/package.sh"; then
    run_step "package: checks" bash "$repo/scripts/check_package.sh" \
        "$repo"/build/package/tidepool_*.deb || true
else
    skip_step "package: checks"
fi
build_and_test sanitize "$repo/build/sanitize" no \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIDEPOOL_SANITIZE=ON
run_step "fuzz" bash "$repo/scripts/fuzz.sh" || true

print_summary
# The closing line CI reads: both trees' test counts together.
echo "tests: $tests_passed passed, $tests_failed failed"
exit "$failed"
