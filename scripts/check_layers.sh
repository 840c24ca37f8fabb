#!/usr/bin/env bash
# Fails when a source file includes a header of a folder it may not use: every folder may include
# itself and the folders its line in scripts/layers.txt names, and what those may include in turn.
# Tests, benchmarks and fuzz targets may include anything and are not checked.
#
# Usage: scripts/check_layers.sh
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

declare -A direct=()
folders=()
while read -r folder uses; do
    [[ -z $folder || $folder == \#* ]] && continue
    folders+=("$folder")
    direct[$folder]=$uses
done <scripts/layers.txt

# The folder a path belongs to: the longest folder of the table it lies in, or nothing.
folder_of() {
    local path=$1 best="" folder
    for folder in "${folders[@]}"; do
        if [[ $path == "$folder"/* && ${#folder} -gt ${#best} ]]; then
            best=$folder
        fi
    done
    printf '%s' "$best"
}

# Every folder the given one may include, itself among them.
declare -A reachable=()
closure() {
    local start=$1 folder next
    local -A seen=([$start]=1)
    local -a queue=("$start")
    while ((${#queue[@]})); do
        folder=${queue[0]}
        queue=("${queue[@]:1}")
        for next in ${direct[$folder]:-}; do
            if [[ -z ${seen[$next]:-} ]]; then
                seen[$next]=1
                queue+=("$next")
            fi
        done
    done
    reachable[$start]=" ${!seen[*]} "
}
for folder in "${folders[@]}"; do
    closure "$folder"
done

failures=0
checked=0
while IFS= read -r -d '' file; do
    from=$(folder_of "$file")
    if [[ -z $from ]]; then
        echo "check_layers: $file lies in no folder of scripts/layers.txt" >&2
        failures=$((failures + 1))
        continue
    fi
    while IFS=: read -r line include; do
        to=$(folder_of "$include")
        [[ -z $to ]] && continue # a header of a library, not of ours
        checked=$((checked + 1))
        if [[ ${reachable[$from]} != *" $to "* ]]; then
            echo "check_layers: $file:$line includes $include ($to), above $from" >&2
            failures=$((failures + 1))
        fi
    done < <(awk 'match($0, /^[ \t]*#[ \t]*include[ \t]*"[^"]*"/) {
        line = substr($0, RSTART, RLENGTH); sub(/^[^"]*"/, "", line); sub(/"$/, "", line)
        print FNR ":" line }' "$file")
done < <(git ls-files -z -- '*.h' '*.cpp' ':!:tests/' ':!:bench/' ':!:fuzz/')

if ((failures)); then
    echo "check_layers: $failures include(s) against the layers" >&2
    exit 1
fi
echo "check_layers: $checked includes between our folders, none against the layers"
