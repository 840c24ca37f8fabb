#!/usr/bin/env bash
# Builds the Release tree (installing missing Debian packages first) and renders the default
# wallpaper with the command-line renderer.
#
# Usage: scripts/render.sh [tidepool-render arguments...]
# The picture goes to out/wallpaper.png unless the arguments name an output with -o or --output.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source-path=SCRIPTDIR source=deps.sh
source "$repo/scripts/deps.sh"

build_dir="$repo/build/release"
renderer="$build_dir/bin/tidepool-render"

tidepool_install_dependencies

# Reuses an existing tree so a second run only rebuilds what changed.
if [[ ! -f "$build_dir/build.ninja" ]]; then
    cmake -S "$repo" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build_dir" --parallel "${TIDEPOOL_BUILD_JOBS:-2}" --target tidepool-render imgctl

# Finds an output the caller chose, so the renderer is never given two.
output=""
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
    case ${args[i]} in
    -o | --output)
        if ((i + 1 < ${#args[@]})); then
            output=${args[i + 1]}
        fi
        ;;
    --output=*) output=${args[i]#--output=} ;;
    -o?*) output=${args[i]#-o} ;;
    esac
done

if [[ -z $output ]]; then
    mkdir -p "$repo/out"
    output="$repo/out/wallpaper.png"
    "$renderer" -o "$output" "$@"
else
    "$renderer" "$@"
fi

if [[ $output != /* ]]; then
    output="$PWD/$output"
fi
echo "Wallpaper written to $output"
