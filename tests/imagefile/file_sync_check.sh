#!/usr/bin/env bash
# Watches tidepool-render save a picture, through the system calls it makes (strace), and checks
# the order that survives a power cut: the new file forced to disk before it is renamed into
# place, and its folder forced to disk after, so the new name lasts too. The name has a space, a
# quote, a dollar sign and Japanese in it, and replaces an older file.
#
# Usage: file_sync_check.sh RENDERER
# Exits 77 (skipped) when strace cannot trace here, so that nothing unchecked passes.
set -euo pipefail

renderer=$1
if ! command -v strace >/dev/null; then
    echo "strace is missing (apt-get install strace)" >&2
    exit 1
fi
folder=$(mktemp -d)
log=$(mktemp)
trap 'rm -rf "$folder" "$log"' EXIT
target="$folder/it's \$HOME 壁紙.bmp"
echo "old" >"$target"

# LeakSanitizer cannot run under a tracer; the sanitizer build's other tests look for leaks.
if ! ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
    strace -f -qq -o "$log" -e trace=openat,fsync,rename,renameat,renameat2 \
    "$renderer" --width 16 --height 16 -o "$target" >/dev/null 2>"$log.err"; then
    if grep -q "Operation not permitted" "$log.err"; then
        echo "SKIPPED: strace may not trace processes here" >&2
        rm -f "$log.err"
        exit 77
    fi
    cat "$log.err" >&2
    rm -f "$log.err"
    echo "FAILED: the renderer did not save the picture" >&2
    exit 1
fi
rm -f "$log.err"

# strace writes non-ASCII bytes as octal escapes; the folder alone is plain ASCII.
awk -v folder="$folder" '
    function fd_of(line) { sub(/.*= /, "", line); return line + 0 }
    index($0, "openat(AT_FDCWD, \"" folder "\", ") && /O_DIRECTORY/ && / = [0-9]+$/ {
        folder_fd = fd_of($0)
    }
    index($0, "openat(AT_FDCWD, \"" folder "/.") && /O_EXCL/ && / = [0-9]+$/ {
        temp_fd = fd_of($0)
    }
    /fsync\([0-9]+\) += 0$/ {
        fd = $0; sub(/.*fsync\(/, "", fd); sub(/\).*/, "", fd); fd += 0
        if (fd == temp_fd && !renamed) file_synced = NR
        if (fd == folder_fd && renamed) folder_synced = NR
    }
    /rename[a-z0-9]*\(/ && index($0, folder "/.") && / = 0$/ { renamed = NR }
    END {
        if (!file_synced) { print "FAILED: the new file was not forced to disk before the rename"; exit 1 }
        if (!renamed) { print "FAILED: no rename into place"; exit 1 }
        if (!folder_synced) { print "FAILED: the folder was not forced to disk after the rename"; exit 1 }
        print "file synced (line " file_synced "), renamed (line " renamed "), folder synced (line " folder_synced ")"
    }' "$log"

if [[ "$(head -c 2 "$target")" != "BM" ]]; then
    echo "FAILED: the file is not the new picture" >&2
    exit 1
fi
leftovers=$(find "$folder" -mindepth 1 ! -name "$(basename "$target")" | wc -l)
if ((leftovers != 0)); then
    echo "FAILED: $leftovers other files left in the folder" >&2
    exit 1
fi
