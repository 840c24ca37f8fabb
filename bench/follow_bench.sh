#!/usr/bin/env bash
# Runs tidepool_follow_bench on a desktop of two 3840 x 2160 screens: Xorg with the dummy driver
# and two real RandR outputs side by side, on a display it picks, ended afterwards. Needs root (the
# X server) and the packages of scripts/deps.sh.
#
# Usage: bench/follow_bench.sh [BENCHMARK-OPTION...]
# Environment: TIDEPOOL_BIN  the folder of the built programs (default build/release/bin)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bin=${TIDEPOOL_BIN:-$repo/build/release/bin}
work=$(mktemp -d /tmp/tidepool-follow-bench.XXXXXX)
server=""
cleanup() {
    if [[ -n $server ]]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

cat >"$work/xorg.conf" <<'CONF'
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 256000
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
    Modeline "3840x2160" 262.75 3840 4016 4416 4992 2160 2163 2168 2200
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "3840x2160"
        Virtual 7680 2160
    EndSubSection
EndSection
CONF

Xorg -displayfd 3 -config "$work/xorg.conf" -noreset -nolisten tcp -logfile "$work/xorg.log" \
    3>"$work/display" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
export DISPLAY=:$(head -n 1 "$work/display")
xrandr --addmode DUMMY1 3840x2160
xrandr --output DUMMY0 --mode 3840x2160 --pos 0x0 --output DUMMY1 --mode 3840x2160 --right-of DUMMY0
# A desktop that has just seen its outputs change is not yet at rest.
sleep 2
"$bin/tidepool_follow_bench" "$@"
