#!/usr/bin/env bash
# Runs a command on an X server of its own with a real window manager (openbox) and a session bus
# of its own, as a user's desktop has them: Xvfb, then openbox, then the command on a private
# session bus (private_session_bus.sh) with DISPLAY set and Qt on xcb. Ends them all when the
# command ends, and exits with the command's status.
#
# Usage: x_desktop.sh COMMAND [ARGUMENT...]
# Environment: TIDEPOOL_TEST_DISPLAY       the display to use (":185"); by default Xvfb picks a
#                                          free one
#              TIDEPOOL_TEST_BUS_SERVICES  the services the bus may start, by name (org.a11y.Bus);
#                                          by default none
set -euo pipefail

if (($# == 0)); then
    echo "usage: x_desktop.sh COMMAND [ARGUMENT...]" >&2
    exit 2
fi

# Under /tmp with a name of plain characters: openbox is handed a path inside it on its command line.
scratch=$(mktemp -d /tmp/tidepool-x.XXXXXX)
xvfb_pid="" wm_pid=""
cleanup() {
    local pid
    for pid in "$wm_pid" "$xvfb_pid"; do
        if [[ -n $pid ]]; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    rm -rf "$scratch"
}
trap cleanup EXIT
# Ended from outside (ctest's timeout), the servers go too.
trap 'exit 143' TERM INT HUP

# Waits up to ten seconds for a file to hold a line.
wait_for_line() {
    local file=$1 what=$2 tries
    for ((tries = 0; tries < 100; ++tries)); do
        # read succeeds only on a whole line, so a half-written one is not taken.
        if IFS= read -r _ 2>/dev/null <"$file"; then
            return 0
        fi
        sleep 0.1
    done
    echo "x_desktop.sh: $what did not start" >&2
    return 1
}

# -noreset: the server stays as it is when its last client leaves, as a desktop's does.
server_options=(-screen 0 1280x800x24 -nolisten tcp -noreset)
if [[ -n ${TIDEPOOL_TEST_DISPLAY:-} ]]; then
    Xvfb "$TIDEPOOL_TEST_DISPLAY" "${server_options[@]}" >"$scratch/xvfb.log" 2>&1 &
    xvfb_pid=$!
    display=$TIDEPOOL_TEST_DISPLAY
    # The server is ready once a client can reach it.
    for ((tries = 0; tries < 100; ++tries)); do
        if DISPLAY=$display xdotool getmouselocation >/dev/null 2>&1; then break; fi
        sleep 0.1
    done
else
    Xvfb -displayfd 3 "${server_options[@]}" 3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
    xvfb_pid=$!
    wait_for_line "$scratch/display" "Xvfb" || { cat "$scratch/xvfb.log" >&2; exit 1; }
    display=:$(head -n 1 "$scratch/display")
fi
if ! DISPLAY=$display xdotool getmouselocation >/dev/null 2>&1; then
    echo "x_desktop.sh: Xvfb on $display did not answer" >&2
    cat "$scratch/xvfb.log" >&2
    exit 1
fi

# The window manager's own files stay in the scratch folder; it says it is up by writing a line.
mkdir -p "$scratch/config" "$scratch/cache"
DISPLAY=$display XDG_CONFIG_HOME=$scratch/config XDG_CACHE_HOME=$scratch/cache \
    openbox --sm-disable --startup "sh -c 'echo up > $scratch/wm-ready'" \
    >"$scratch/openbox.log" 2>&1 &
wm_pid=$!
wait_for_line "$scratch/wm-ready" "openbox" || { cat "$scratch/openbox.log" >&2; exit 1; }

# libxkbcommon-x11 copies atom names out of xcb's replies with strndup, which reads only up to the
# length it is given; AddressSanitizer's strict string checks take that for an overread when a
# name ends the reply. Everything else stays checked.
if [[ ${ASAN_OPTIONS:-} == *strict_string_checks=1* ]]; then
    export ASAN_OPTIONS=${ASAN_OPTIONS//strict_string_checks=1/strict_string_checks=0}
fi

read -ra services <<<"${TIDEPOOL_TEST_BUS_SERVICES:-}"
bus_options=()
for service in "${services[@]}"; do
    bus_options+=(--service "$service")
done
status=0
DISPLAY=$display QT_QPA_PLATFORM=xcb \
    bash "$(dirname "${BASH_SOURCE[0]}")/private_session_bus.sh" "${bus_options[@]}" -- "$@" ||
    status=$?
exit "$status"
