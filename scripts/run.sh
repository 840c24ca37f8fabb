#!/usr/bin/env bash
# Builds the Release tree (installing missing Debian packages first) and opens the desktop
# program, with its codec plug-in beside it.
#
# Usage: scripts/run.sh
# Needs a desktop session (DISPLAY or WAYLAND_DISPLAY). Without one, scripts/render.sh draws a
# wallpaper from the command line instead.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source-path=SCRIPTDIR source=deps.sh
source "$repo/scripts/deps.sh"

build_dir="$repo/build/release"

tidepool_install_dependencies

# Reuses an existing tree so a second run only rebuilds what changed.
if [[ ! -f "$build_dir/build.ninja" ]]; then
    cmake -S "$repo" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build_dir" --parallel "${TIDEPOOL_BUILD_JOBS:-2}" --target tidepool imgctl

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    echo "tidepool: no desktop session to open the window in (neither DISPLAY nor" \
        "WAYLAND_DISPLAY is set); scripts/render.sh draws a wallpaper without one" >&2
    exit 1
fi
exec "$build_dir/bin/tidepool"
