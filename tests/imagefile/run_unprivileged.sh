#!/usr/bin/env bash
# Runs the test cases that only mean something when permissions bind the tester (a read-only
# folder keeps the old file): as the invoking user, or, when that is root, whom permissions do
# not bind, as the unprivileged user nobody through setpriv. nobody gets copies of the test
# program and the plug-in in a scratch folder of its own, since the build folder may lie where
# nobody cannot reach it. Fails when any case is skipped or none runs, saying why.
#
# Usage: run_unprivileged.sh TEST_PROGRAM PLUGIN GTEST_FILTER
set -euo pipefail

program=$1 plugin=$2 filter=$3
log=$(mktemp)
scratch=""
cleanup() {
    rm -f "$log"
    if [[ -n $scratch ]]; then rm -rf "$scratch"; fi
}
trap cleanup EXIT

if ((EUID != 0)); then
    "$program" --gtest_filter="$filter" 2>&1 | tee "$log"
else
    if ! command -v setpriv >/dev/null || ! id nobody >/dev/null 2>&1; then
        echo "running as root, without setpriv or the user nobody to run these cases as" >&2
        exit 1
    fi
    scratch=$(mktemp -d)
    cp "$program" "$plugin" "$scratch/"
    mkdir "$scratch/tmp"
    chown -R "$(id -u nobody):$(id -g nobody)" "$scratch"
    echo "running as root: these cases run as nobody in $scratch"
    setpriv --reuid="$(id -u nobody)" --regid="$(id -g nobody)" --clear-groups --no-new-privs \
        env HOME="$scratch" TMPDIR="$scratch/tmp" \
        "$scratch/$(basename "$program")" --gtest_filter="$filter" 2>&1 | tee "$log"
fi
status=${PIPESTATUS[0]}

if ((status != 0)); then
    exit "$status"
fi
if grep -q '^\[  SKIPPED \]' "$log"; then
    echo "FAILED: cases were skipped, so the read-only path was not exercised" >&2
    exit 1
fi
if ! grep -Eq '^\[  PASSED  \] [1-9][0-9]* test' "$log"; then
    echo "FAILED: no case matched $filter" >&2
    exit 1
fi
