#!/usr/bin/env bash
# Checks a built Debian package without installing it: lintian finds no errors; the licence is
# MIT (Expat) with CLI11's BSD-3-Clause beside it; a Japanese Gothic font is a dependency; the data
# is xz-compressed; the menu entry is named after the AppStream id, and both validate strictly;
# the manual pages are clean and name no architecture's folder; the icons are transparent PNGs of
# their folders' sizes; the versions agree; extracted into a temporary folder, its tidepool-render
# writes a PNG through the plug-in where the package puts it, its tidepool titles its windows in
# English for an English session and in Japanese for a Japanese one, and its bash completion
# completes.
# Last, it builds the package again from this checkout in another folder, later and under another
# umask, and compares the two byte for byte.
#
# Usage: scripts/check_package.sh PACKAGE.deb
# PACKAGE.deb must be built from this checkout as it stands (scripts/package.sh).
# Every check runs, so one run shows every failure; the exit status is 1 when any failed.
set -euo pipefail

if (($# != 1)) || [[ ! -f $1 ]]; then
    echo "usage: scripts/check_package.sh PACKAGE.deb" >&2
    exit 2
fi
deb=$(realpath "$1")
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
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

# The License line of the copyright file's paragraph that starts with the given Files line.
licence_of() {
    awk -v files="$1" '$0 == files { found = 1 } found && /^License:/ { print; exit }' \
        "$root/usr/share/doc/tidepool/copyright"
}

# Fails, saying why, when the file has no line matching the extended regular expression.
expect_in() {
    local file=$1 pattern=$2 why=$3
    grep -Eq -- "$pattern" "$file" || {
        echo "${file#"$root"}: $why"
        return 1
    }
}

# The package's paragraph (Files: *) and CLI11's, each licence's full text, and AppStream's.
check_licence() {
    local copyright="$root/usr/share/doc/tidepool/copyright" metainfo status=0
    metainfo=$(echo "$root"/usr/share/metainfo/*.metainfo.xml)
    echo "Files: * under $(licence_of 'Files: *'); Files: CLI/* under $(licence_of 'Files: CLI/*')"
    [[ $(licence_of 'Files: *') == 'License: Expat' ]] || status=1
    [[ $(licence_of 'Files: CLI/*') == 'License: BSD-3-Clause' ]] || status=1
    expect_in "$copyright" '^License: Expat$' "no stand-alone Expat licence" || status=1
    expect_in "$copyright" 'Permission is hereby granted, free of charge' \
        "the Expat licence's text is missing" || status=1
    expect_in "$copyright" '^License: BSD-3-Clause$' "no stand-alone BSD-3-Clause licence" ||
        status=1
    expect_in "$copyright" 'Redistribution and use in source and binary forms' \
        "the BSD-3-Clause licence's text is missing" || status=1
    expect_in "$metainfo" '<project_license>MIT</project_license>' "the project licence is not MIT" ||
        status=1
    expect_in "$metainfo" '<metadata_license>(CC0-1.0|FSFAP)</metadata_license>' \
        "the metadata licence is neither CC0-1.0 nor FSFAP" || status=1
    return "$status"
}

# Without a Japanese Gothic font every caption is a box; the Wayland plug-in is recommended.
check_dependencies() {
    local depends recommends
    depends=$(dpkg-deb -f "$deb" Depends)
    recommends=$(dpkg-deb -f "$deb" Recommends)
    echo "Depends: $depends"
    echo "Recommends: $recommends"
    [[ ", $depends," == *", fonts-ipafont-gothic | fonts-japanese-gothic | fonts-noto-cjk,"* ]] &&
        [[ ", $recommends," == *", qt6-wayland,"* ]]
}

# debian-binary, the control archive, and the data as Debian's own packages have it.
check_compression() {
    local members
    members=$(ar t "$deb" | tr '\n' ' ')
    echo "members: $members"
    [[ $members == "debian-binary control.tar."*" data.tar.xz " ]]
}

# The AppStream id, from the metainfo file's name as software centres find it.
appstream_id() {
    local metainfo
    metainfo=$(echo "$root"/usr/share/metainfo/*.metainfo.xml)
    basename "$metainfo" .metainfo.xml
}

validate_desktop_entry() {
    local id entry entries
    id=$(appstream_id)
    entry="$root/usr/share/applications/$id.desktop"
    entries=$(cd "$root/usr/share/applications" && echo *.desktop)
    [[ $entries == "$id.desktop" ]] || {
        echo "the menu entries are $entries, not the AppStream id's $id.desktop alone"
        return 1
    }
    desktop-file-validate "$entry"
    # Installed to /usr/bin, the program is on every PATH and the entry names it alone.
    grep -qx 'Exec=tidepool' "$entry" || {
        echo "the menu entry does not start tidepool by name: $(grep '^Exec=' "$entry")"
        return 1
    }
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
        "$root/usr/share/metainfo/$id.metainfo.xml" || {
        echo "the AppStream entry does not launch $id.desktop"
        return 1
    }
}

# The whole tree, so the entry's file name, menu entry and icon are checked against each other,
# then the entry alone, strictly: every issue above the pedantic fails.
validate_appstream() {
    appstreamcli validate-tree --no-net --explain "$root" &&
        appstreamcli validate --strict --no-net --explain \
            "$root/usr/share/metainfo/$(appstream_id).metainfo.xml"
}

# man-db formats each page with groff's warnings on, and so does groff itself; any warning fails
# the page, and so does a NAME section that lexgrog (mandb's whatis parser) cannot read or a
# library folder of one architecture, which the package's pages must not name.
validate_manual_pages() {
    local page status=0 multiarch
    multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
    for page in "$root"/usr/share/man/man1/tidepool.1.gz \
        "$root"/usr/share/man/man1/tidepool-render.1.gz; do
        if [[ ! -f $page ]]; then
            echo "missing: ${page#"$root"}"
            status=1
            continue
        fi
        if ! LC_ALL=C.UTF-8 man --warnings -l "$page" 2>"$work/man-warnings" >/dev/null ||
            [[ -s $work/man-warnings ]]; then
            echo "${page#"$root"} (man):"
            cat "$work/man-warnings"
            status=1
        fi
        if ! gzip -dc "$page" | groff -k -man -ww -z 2>"$work/man-warnings" ||
            [[ -s $work/man-warnings ]]; then
            echo "${page#"$root"} (groff -ww -z):"
            cat "$work/man-warnings"
            status=1
        fi
        lexgrog "$page" || status=1
        if gzip -dc "$page" | sed 's/\\-/-/g' | grep -n -e "$multiarch" -e 'lib/[a-z0-9_]*-linux-gnu'
        then
            echo "${page#"$root"} names an architecture's library folder (above)"
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
    for size in 16 24 32 48 64 128 256; do
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

# The titles of the extracted tidepool's windows on an X server of its own, for a session in the
# language given (LANG): the package's translation is found where the program looks for it.
window_titles() {
    LANG=$1 LANGUAGE='' LC_ALL='' LC_MESSAGES='' bash "$repo/tests/support/x_desktop.sh" bash -c '
        "$1" & pid=$!
        for ((tries = 0; tries < 100; ++tries)); do
            mapfile -t windows < <(xdotool search --onlyvisible --pid "$pid" 2>/dev/null)
            ((${#windows[@]} >= 2)) && break
            sleep 0.2
        done
        for window in "${windows[@]}"; do xdotool getwindowname "$window"; done | sort | paste -sd,
        kill "$pid"
        wait "$pid" 2>/dev/null || true
    ' titles "$root/usr/bin/tidepool"
}

check_languages() {
    local english japanese
    english=$(window_titles en_US.UTF-8)
    japanese=$(window_titles ja_JP.UTF-8)
    echo "English session: $english; Japanese session: $japanese"
    [[ $english == "Picture,Tidepool" && $japanese == "ぺたもぐ,ピクチャー" ]]
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
        expect_offers "$renderer" --theme blue -- blue-a blue-b blue-grey &&
        expect_offers "$renderer" --layout '' -- standard slide &&
        expect_offers "$renderer" --role m -- middle &&
        expect_offers "$renderer" --eyes circle,c -- circle,cross circle,cap circle,cup &&
        (cd "$root/usr/share/doc/tidepool" && expect_offers "$renderer" -o c -- copyright) &&
        zsh -n "$root/usr/share/zsh/vendor-completions/_tidepool-render"
}

# Builds the package again from this checkout's tracked files, copied into a folder of another
# name and depth, stamped with the time of the copy, under another umask, and compares the two
# packages byte for byte. When they differ, names the members and files that do.
check_reproducible() {
    local source="$work/rebuild/tidepool-$RANDOM-source" rebuilt
    if ! git -C "$repo" rev-parse --git-dir >/dev/null 2>&1; then
        echo "not a git checkout: cannot tell which files the package is built from"
        return 1
    fi
    mkdir -p "$source"
    (cd "$repo" && git ls-files -z | tar --null -T - -cf -) | tar -xmf - -C "$source"
    if ! (umask 077 && bash "$source/scripts/package.sh") >"$work/rebuild.log" 2>&1; then
        tail -n 30 "$work/rebuild.log"
        return 1
    fi
    rebuilt=$(tail -n 1 "$work/rebuild.log")
    echo "rebuilt in $source"
    if cmp "$deb" "$rebuilt"; then
        echo "the two packages are identical: $(sha256sum <"$deb" | cut -d' ' -f1)"
        return 0
    fi
    describe_difference "$deb" "$rebuilt"
    return 1
}

# Names what differs between two packages: their members, and the files whose checksums differ.
describe_difference() {
    local side
    for side in a b; do
        mkdir -p "$work/diff/$side"
    done
    (cd "$work/diff/a" && ar x "$1" && tar -xf control.tar.* ./md5sums)
    (cd "$work/diff/b" && ar x "$2" && tar -xf control.tar.* ./md5sums)
    (cd "$work/diff" && for member in $(ar t "$1"); do
        cmp -s "a/$member" "b/$member" || echo "member $member differs"
    done)
    diff "$work/diff/a/md5sums" "$work/diff/b/md5sums" || true
}

echo "Checking $deb"
start=$SECONDS
dpkg-deb -x "$deb" "$root"
check "lintian" run_lintian
check "licence (MIT, with CLI11's BSD-3-Clause)" check_licence
check "dependencies (a Japanese Gothic font)" check_dependencies
check "compression (data.tar.xz)" check_compression
check "menu entry (named after the AppStream id, desktop-file-validate)" validate_desktop_entry
check "AppStream entry (appstreamcli validate --strict)" validate_appstream
check "manual pages (man --warnings, groff -ww -z, lexgrog, no architecture)" validate_manual_pages
check "icons" check_icons
check "versions" check_versions
check "extracted tidepool-render writes a PNG" run_extracted_renderer
check "shell completions" check_completions
check "extracted tidepool speaks the session's language" check_languages
check "reproducible (built again elsewhere, compared with cmp)" check_reproducible
echo "package checks: $((SECONDS - start)) s"
exit "$failed"
