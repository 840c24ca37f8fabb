#!/usr/bin/env bash
# Checks a built Debian package without installing it: lintian finds no errors; the menu entry,
# the AppStream entry and the manual pages validate; the icons are transparent PNGs of their
# folders' sizes; the versions agree; and, extracted into a temporary folder, its tidepool-render
# writes a PNG through the plug-in where the package puts it, and its bash completion completes.
#
# Usage: scripts/check_package.sh PACKAGE.deb
# Every check runs, so one run shows every failure; the exit status is 1 when any failed.
set -euo pipefail

if (($# != 1)) || [[ ! -f $1 ]]; then
    echo "usage: scripts/check_package.sh PACKAGE.deb" >&2
    exit 2
fi
deb=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/root"
failed=0

# Runs one check, keeping its output for when it fails.
check() {
    local name=$1
    shift
    local start=$SECONDS
    if "$@" >"$work/output" 2>&1; then
        printf '  ok    %s (%d s)\n' "$name" $((SECONDS - start))
        sed 's/^/        /' "$work/output"
    else
        printf '  FAIL  %s (%d s)\n' "$name" $((SECONDS - start))
        sed 's/^/        /' "$work/output"
        failed=1
    fi
}

# Errors fail; the warnings kept are listed in the README with the reason for each.
run_lintian() {
    lintian --fail-on error --tag-display-limit 0 "$deb"
}

validate_desktop_entry() {
    local entry="$root/usr/share/applications/tidepool.desktop"
    desktop-file-validate "$entry"
    # Installed to /usr/bin, the program is on every PATH and the entry names it alone.
    grep -qx 'Exec=tidepool' "$entry" || {
        echo "the menu entry does not start tidepool by name: $(grep '^Exec=' "$entry")"
        return 1
    }
}

# The whole tree, so the entry's file name, menu entry and icon are checked against each other.
validate_appstream() {
    appstreamcli validate-tree --no-net --explain "$root"
}

# man-db formats each page with groff's warnings on; any warning fails the page.
validate_manual_pages() {
    local page status=0
    for page in "$root"/usr/share/man/man1/tidepool.1.gz \
        "$root"/usr/share/man/man1/tidepool-render.1.gz; do
        if [[ ! -f $page ]]; then
            echo "missing: ${page#"$root"}"
            status=1
            continue
        fi
        if ! LC_ALL=C.UTF-8 man --warnings -l "$page" 2>"$work/man-warnings" >/dev/null ||
            [[ -s $work/man-warnings ]]; then
            echo "${page#"$root"}:"
            cat "$work/man-warnings"
            status=1
        fi
    done
    return "$status"
}

# The PNG header's width, height and colour type (6: truecolour with alpha).
png_header() {
    od -An -tu1 -j16 -N10 "$1" |
        awk '{ printf "%d %d %d\n", ($1 * 2^24) + ($2 * 2^16) + ($3 * 2^8) + $4,
                                    ($5 * 2^24) + ($6 * 2^16) + ($7 * 2^8) + $8, $10 }'
}

check_icons() {
    local size icon status=0
    for size in 16 32 48 64 128 256; do
        icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/tidepool.png"
        if [[ ! -f $icon ]]; then
            echo "missing: ${icon#"$root"}"
            status=1
        elif [[ $(png_header "$icon") != "$size $size 6" ]]; then
            echo "${icon#"$root"} is not a ${size} x ${size} PNG with alpha: $(png_header "$icon")"
            status=1
        fi
    done
    if ! grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/tidepool.svg"; then
        echo "missing: the scalable icon"
        status=1
    fi
    return "$status"
}

# The package's version, its changelog's latest entry and the AppStream entry's latest release.
check_versions() {
    local package changelog release
    package=$(dpkg-deb -f "$deb" Version)
    changelog=$(gzip -dc "$root/usr/share/doc/tidepool/changelog.gz" | sed -n '1s/.*(\(.*\)).*/\1/p')
    release=$(grep -o '<release version="[^"]*"' "$root"/usr/share/metainfo/*.metainfo.xml |
        head -n 1 | cut -d'"' -f2)
    echo "package $package, changelog $changelog, AppStream release $release"
    [[ $package == "$changelog" && $package == "$release" ]]
}

# Run from an unrelated folder, so the PNG can only be written if the renderer finds the plug-in
# in the package's library folder.
run_extracted_renderer() {
    mkdir -p "$work/elsewhere"
    (cd "$work/elsewhere" && "$root/usr/bin/tidepool-render" --theme 2 -o wallpaper.png)
    local signature
    signature=$(od -An -tx1 -N8 "$work/elsewhere/wallpaper.png" | tr -d ' \n')
    [[ $signature == 89504e470d0a1a0a ]] || {
        echo "wallpaper.png is not a PNG: $signature"
        return 1
    }
    echo "wrote a PNG of $(png_header "$work/elsewhere/wallpaper.png" | cut -d' ' -f1-2) pixels"
}

# Asks the installed bash completion what it offers for the words given, the last being the one
# under the cursor; prints the offers one a line.
complete_words() {
    bash -c '
        source /usr/share/bash-completion/bash_completion
        source "$1"
        shift
        COMP_WORDS=("$@")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMP_LINE="${COMP_WORDS[*]}"
        COMP_POINT=${#COMP_LINE}
        _tidepool_render 2>/dev/null
        printf "%s\n" "${COMPREPLY[@]}"
    ' complete "$root/usr/share/bash-completion/completions/tidepool-render" "$@"
}

# Expects the offers for the words to include every one of the wanted words.
expect_offers() {
    local -a words=() wanted=()
    while [[ $1 != -- ]]; do
        words+=("$1")
        shift
    done
    shift
    wanted=("$@")
    local offers word
    offers=$(complete_words "${words[@]}")
    for word in "${wanted[@]}"; do
        grep -qxF -- "$word" <<<"$offers" || {
            echo "completing '${words[*]}' offers no '$word', only: ${offers//$'\n'/ }"
            return 1
        }
    done
}

check_completions() {
    local renderer="$root/usr/bin/tidepool-render"
    expect_offers "$renderer" --bub -- --bubbles --bubble-shift &&
        expect_offers "$renderer" --theme ブルー -- ブルーＡ ブルーＢ ブルーグレー &&
        expect_offers "$renderer" --layout '' -- standard slide &&
        expect_offers "$renderer" --role m -- middle &&
        expect_offers "$renderer" --eyes circle,c -- circle,cross circle,cap circle,cup &&
        (cd "$root/usr/share/doc/tidepool" && expect_offers "$renderer" -o c -- copyright) &&
        zsh -n "$root/usr/share/zsh/vendor-completions/_tidepool-render"
}

echo "Checking $deb"
start=$SECONDS
dpkg-deb -x "$deb" "$root"
check "lintian" run_lintian
check "menu entry (desktop-file-validate)" validate_desktop_entry
check "AppStream entry (appstreamcli validate)" validate_appstream
check "manual pages (man --warnings)" validate_manual_pages
check "icons" check_icons
check "versions" check_versions
check "extracted tidepool-render writes a PNG" run_extracted_renderer
check "shell completions" check_completions
echo "package checks: $((SECONDS - start)) s"
exit "$failed"
