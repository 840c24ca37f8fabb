#!/usr/bin/env bash
# Fails when a C++ file of the repository is not laid out as .clang-format says, listing each such
# file and the one command that mends them all. clang-format is Debian's (the clang-format
# package); other versions lay some code out differently.
#
# Usage: scripts/check_format.sh
# Environment: CLANG_FORMAT  the clang-format to run (default clang-format)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
clang_format=${CLANG_FORMAT:-clang-format}

if ! command -v "$clang_format" >/dev/null 2>&1; then
    echo "check_format: $clang_format not found; install Debian's clang-format package" >&2
    exit 1
fi
# A style file clang-format cannot read would make every file look unformatted.
if ! "$clang_format" --dump-config >/dev/null; then
    echo "check_format: $clang_format cannot read .clang-format" >&2
    exit 1
fi

unformatted=0
checked=0
while IFS= read -r -d '' file; do
    checked=$((checked + 1))
    if ! "$clang_format" --dry-run --Werror --ferror-limit=1 -- "$file" >/dev/null 2>&1; then
        echo "check_format: $file is not formatted" >&2
        unformatted=$((unformatted + 1))
    fi
done < <(git ls-files -z -- '*.h' '*.cpp')

if ((unformatted)); then
    echo "check_format: $unformatted of $checked C++ files not formatted; mend them from the" \
        "top of the repository with:" >&2
    echo "    git ls-files -z -- '*.h' '*.cpp' | xargs -0 $clang_format -i" >&2
    exit 1
fi
echo "check_format: all $checked C++ files formatted ($("$clang_format" --version))"
