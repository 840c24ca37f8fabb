#!/usr/bin/env bash
# Starts the program with Qt's accessibility on, on the session bus the caller gives it, and reads
# its windows through AT-SPI as a screen reader does: the main window and the preview, then the
# fixed-colour dialog opened with its menu key. Fails when a control that takes the focus has no
# name. Run inside x_desktop.sh, which gives it a session bus.
#
# Usage: accessibility_bus_check.sh PROGRAM
set -euo pipefail

program=$1
reader=$(dirname "${BASH_SOURCE[0]}")/../../support/accessible_names_on_bus.py
# Debian's own Python, which has the AT-SPI bindings (python3-gi, gir1.2-atspi-2.0).
python=/usr/bin/python3

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT

"$python" "$reader" Tidepool "ぺたもぐ" "ピクチャー"
# The main window has the focus at start; Alt+O is "オプション(&O)".
xdotool search --sync --name '^ぺたもぐ$' windowactivate --sync key --clearmodifiers alt+o
"$python" "$reader" Tidepool "固定色の変更"
