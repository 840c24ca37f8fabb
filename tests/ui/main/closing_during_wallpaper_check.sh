#!/usr/bin/env bash
# Presses Alt+W, then Alt+X before the desktop has answered, as a user who closes the program
# straight after asking for the wallpaper does. The program must end within two seconds (it takes
# well under one) with status 0, leaving only whole pictures in its data folder. Once on each of
# three session buses: with no portal; with a portal that takes the request and never answers,
# which must then be told to close it; and with the machine's xdg-desktop-portal and its backends.
# Run inside x_desktop.sh, which gives an X server and a window manager.
#
# Usage: closing_during_wallpaper_check.sh PROGRAM
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
python=/usr/bin/python3
limit_ms=2000

# Waits up to ten seconds for a line in a file that matches the pattern.
wait_for_line() {
    local file=$1 pattern=$2 tries
    for ((tries = 0; tries < 200; ++tries)); do
        grep -q -- "$pattern" "$file" 2>/dev/null && return 0
        sleep 0.05
    done
    echo "no line '$pattern' in $file" >&2
    return 1
}

now_ms() {
    echo $(($(date +%s%N) / 1000000))
}

# One closing, on the bus it runs on: the program started, asked for the wallpaper, and closed.
close_while_applying() {
    local program=$1 scratch=$2 portal=$3
    if [[ $portal == silent ]]; then
        "$python" "$here/silent_portal.py" "$scratch/portal.log" &
        wait_for_line "$scratch/portal.log" '^ready$'
    fi
    # No desktop named: the portal is the first way.
    XDG_CURRENT_DESKTOP='' XDG_DATA_HOME="$scratch/data" "$program" &
    local pid=$!
    xdotool search --sync --name '^ぺたもぐ$' windowactivate --sync key --clearmodifiers alt+w
    if [[ $portal == silent ]]; then
        wait_for_line "$scratch/portal.log" '^SetWallpaperURI '
    else
        sleep 0.3
    fi
    xdotool key --clearmodifiers alt+x
    local closed ended
    closed=$(now_ms)
    while kill -0 "$pid" 2>/dev/null && (($(now_ms) - closed < 10000)); do
        sleep 0.02
    done
    ended=$(now_ms)
    if kill -0 "$pid" 2>/dev/null; then
        kill -9 "$pid"
        echo "$portal: still running 10 s after Alt+X"
        return 1
    fi
    local status=0
    wait "$pid" || status=$?
    echo "$portal: ended with status $status $((ended - closed)) ms after Alt+X"
    ((status == 0 && ended - closed <= limit_ms)) || return 1
    if [[ $portal == silent ]]; then
        local request
        request=$(sed -n 's/^SetWallpaperURI //p' "$scratch/portal.log")
        grep -qxF "Close $request" "$scratch/portal.log" ||
            { echo "$portal: the request was left open" && return 1; }
    fi
    local picture
    for picture in "$scratch"/data/tidepool/*; do
        [[ -e $picture ]] || continue
        identify "$picture" >/dev/null 2>&1 || { echo "$portal: left $picture" && return 1; }
    done
}

if [[ ${1:-} == --on-this-bus ]]; then
    shift
    close_while_applying "$@"
    exit
fi

program=$1
shopt -s nullglob
failed=0
for portal in none silent installed; do
    scratch=$(mktemp -d /tmp/tidepool-closing.XXXXXX)
    services=()
    if [[ $portal == installed ]]; then
        for file in /usr/share/dbus-1/services/org.freedesktop.portal.Desktop.service \
            /usr/share/dbus-1/services/org.freedesktop.impl.portal.*.service; do
            name=${file##*/}
            services+=(--service "${name%.service}")
        done
    fi
    mkdir -m 700 "$scratch/run"
    # What the bus starts keeps its files in the scratch folder too.
    XDG_RUNTIME_DIR=$scratch/run XDG_CONFIG_HOME=$scratch/config XDG_CACHE_HOME=$scratch/cache \
        bash "$here/../../support/private_session_bus.sh" "${services[@]}" -- \
        bash "${BASH_SOURCE[0]}" --on-this-bus "$program" "$scratch" "$portal" || failed=1
    rm -rf "$scratch"
done
exit "$failed"
