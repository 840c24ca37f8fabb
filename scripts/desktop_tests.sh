#!/usr/bin/env bash
# Puts the wallpaper on real desktops started for the purpose and reads the screen back: a bare X
# server with and without openbox, Xfce, LXQt's pcmanfm-qt, MATE's caja, with one screen, two
# RandR outputs (Xorg's dummy driver) and two RandR monitors on one output; KDE Plasma and
# Cinnamon; sway on its headless backend and GNOME Shell headless on Wayland, both as the
# unprivileged user nobody; and the window in a Flatpak-like sandbox on GNOME Shell, asked by the
# real desktop portal. Each desktop runs in a private session: its own X server, its own session
# bus activating only the services it needs (a portal only where the case is about one), its own
# HOME and XDG folders. A case passes when tidepool-render says where it applied the picture and
# the screen shows the tiled canvas pixel for pixel on every screen, or, where nothing can show it,
# when it says so with exit status 4. Every process a session started is ended by its id.
# Keeping the wallpaper (bare X and Xfce on two RandR outputs, sway): --keep-wallpaper, then the
# screens changed; each time the follower must apply once and every screen read back 1:1; idle it
# must use no processor time; after the background is reset as at a new login, the autostart
# entry (started by GLib's launcher) or sway's exec line must put it back; --forget-wallpaper must
# end it.
#
# Usage: scripts/desktop_tests.sh RENDERER
#   RENDERER  a built tidepool-render, with the codec plug-in imgctl.so beside it
# Environment: TIDEPOOL_DESKTOP_DISPLAY  the X display number used (default 170)
#              TIDEPOOL_DESKTOP_KEEP     keep the sessions' folders and screenshots when set
#              TIDEPOOL_DESKTOP_ONLY     run only the cases whose names match this regex
# Needs the packages scripts/deps.sh lists under "the real desktops"; must run as root (the dummy
# Xorg server) and has nobody run sway and GNOME Shell.
set -uo pipefail

renderer=$(realpath "$1")
plugin=$(dirname "$renderer")/imgctl.so
display_number=${TIDEPOOL_DESKTOP_DISPLAY:-170}
work=$(mktemp -d /tmp/tidepool-desktops.XXXXXX)
chmod 755 "$work"
passed=0
failed=0
results=()

# Ends every process whose environment carries the session's marker, then the session's X server,
# which was started before the marker was set.
end_session() {
    local dir=$1 pid pids=()
    for pid in /proc/[0-9]*; do
        if grep -qszxF "TIDEPOOL_TEST_SESSION=$dir" "$pid/environ"; then
            pids+=("${pid#/proc/}")
        fi
    done
    if [[ -f $dir/server.pid ]]; then
        pids+=("$(cat "$dir/server.pid")")
    fi
    ((${#pids[@]})) || return 0
    kill "${pids[@]}" 2>/dev/null
    for _ in $(seq 30); do
        kill -0 "${pids[@]}" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -9 "${pids[@]}" 2>/dev/null
    return 0
}

# Ends the session's processes of that name, by their ids.
end_program() {
    local dir=$1 name=$2 pid
    for pid in $(pgrep -x "$name"); do
        if grep -qszxF "TIDEPOOL_TEST_SESSION=$dir" "/proc/$pid/environ"; then
            kill "$pid"
            wait_for 5 sh -c "! kill -0 $pid"
        fi
    done
}

cleanup() {
    local dir
    for dir in "$work"/*/; do
        [[ -d $dir ]] && end_session "${dir%/}"
    done
    if [[ -z ${TIDEPOOL_DESKTOP_KEEP:-} ]]; then
        rm -rf "$work"
    else
        echo "sessions kept in $work"
    fi
}
trap cleanup EXIT

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    local seconds=$1
    shift
    local tries=$((seconds * 10))
    while ((tries-- > 0)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# A private bus's configuration: its type (session or system), its socket, and the folder of the
# services it may activate, if any; anyone may talk to anyone on it.
bus_config() {
    local type=$1 socket=$2 services=${3:-}
    cat <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>$type</type>
  <listen>unix:path=$socket</listen>
  <auth>EXTERNAL</auth>
  ${services:+<servicedir>$services</servicedir>}
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
}

# Makes a session folder with private HOME and XDG folders and a session bus that can activate
# only the named services (e.g. org.xfce.Xfconf); prints nothing. The bus starts with the
# session's environment, so whatever it activates carries the marker.
new_session() {
    local dir=$1
    shift
    mkdir -p "$dir"/{home,config,cache,run,services} "$(data_folder "$dir")"
    chmod 700 "$dir/run"
    local service
    for service in "$@"; do
        ln -s "/usr/share/dbus-1/services/$service.service" "$dir/services/"
    done
    bus_config session "$dir/run/bus" "$dir/services" >"$dir/session.conf"
    cp "$renderer" "$plugin" "$dir/"
    read_x11_screen
}

# How apply_and_check reads the session's screens back, and who runs tidepool-render there: the X
# server's root window and its RandR monitors, as root, unless the session's starter says
# otherwise (GNOME Shell's own screenshot, as nobody). Each is a command to which apply_and_check
# adds its arguments.
read_x11_screen() {
    take_screenshot=(x11_screenshot)
    list_screens=(x11_screens)
    as_session_user=()
}

# The session's data folder, where the pictures go: its name holds what a shell, sway's parser,
# word expansion, an INI file or a URI would act on, and Japanese.
data_folder() {
    printf '%s' "$1/data/a b\"c\$(touch ran)\`touch ran\`;d'e ü 壁紙 #%20"
}

# The session's environment, for env: private folders, the marker, the bus.
session_environment() {
    local dir=$1
    printf '%s\n' HOME="$dir/home" XDG_CONFIG_HOME="$dir/config" XDG_CACHE_HOME="$dir/cache" \
        XDG_DATA_HOME="$(data_folder "$dir")" XDG_RUNTIME_DIR="$dir/run" LANG=C.UTF-8 NO_AT_BRIDGE=1 \
        GTK_A11Y=none TIDEPOOL_TEST_SESSION="$dir" DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/run/bus" \
        PATH=/usr/local/bin:/usr/bin:/bin
}

# Runs a command in the session, in the background (as the session's user where it has one).
in_session() {
    local dir=$1
    shift
    local -a environment
    mapfile -t environment < <(session_environment "$dir")
    env -i "${environment[@]}" "${session_extra[@]}" "$@" >>"$dir/programs.log" 2>&1 &
}

# Runs a command in the session and waits for it.
run_in_session() {
    local dir=$1
    shift
    local -a environment
    mapfile -t environment < <(session_environment "$dir")
    env -i "${environment[@]}" "${session_extra[@]}" "$@"
}

start_bus() {
    local dir=$1
    in_session "$dir" dbus-daemon --nofork --config-file="$dir/session.conf"
    wait_for 10 test -S "$dir/run/bus"
}

# One X screen of the given size.
start_xvfb() {
    local dir=$1 size=$2
    Xvfb ":$display_number" -screen 0 "${size}x24" -nolisten tcp -noreset >"$dir/server.log" 2>&1 &
    echo $! >"$dir/server.pid"
    session_extra+=(DISPLAY=":$display_number")
    wait_for 10 xdpyinfo -display ":$display_number"
}

# Xorg with the dummy driver: two real RandR outputs, 1280 x 800 and 1024 x 768 to its right.
start_dummy_xorg() {
    local dir=$1
    cat >"$dir/xorg.conf" <<'EOF'
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 256000
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
    Modeline "1280x800" 83.50 1280 1352 1480 1680 800 803 809 831
    Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "1280x800"
        Virtual 2304 800
    EndSubSection
EndSection
EOF
    Xorg ":$display_number" -config "$dir/xorg.conf" -noreset -nolisten tcp \
        -logfile "$dir/xorg.log" >"$dir/server.log" 2>&1 &
    echo $! >"$dir/server.pid"
    session_extra+=(DISPLAY=":$display_number")
    wait_for 15 xdpyinfo -display ":$display_number" || return 1
    local -x DISPLAY=":$display_number"
    xrandr --addmode DUMMY1 1024x768 &&
        xrandr --output DUMMY1 --mode 1024x768 --pos 1280x0 &&
        sleep 2
}

# Two RandR monitors splitting one 2304 x 800 output, as people split an ultrawide screen.
start_split_monitors() {
    local dir=$1
    start_xvfb "$dir" 2304x800 || return 1
    local -x DISPLAY=":$display_number"
    xrandr --setmonitor left 1280/338x800/211+0+0 screen &&
        xrandr --setmonitor right 1024/270x768/203+1280+0 none
}

# Whether a window of the class (as xwininfo prints it: ("instance" "Class")) covers the size
# given, WxH, from the corner: a desktop that started before it saw every output has not.
window_covers() {
    local class=$1 size=$2
    DISPLAY=":$display_number" xwininfo -root -tree | grep -F "$class" | grep -q " $size+0+0 "
}

root_size() {
    DISPLAY=":$display_number" xdpyinfo | awk '/dimensions:/ { print $2 }'
}

# The screens' areas of the display, WxH+X+Y, one a line: its RandR monitors.
x11_screens() {
    DISPLAY=":$display_number" xrandr --listmonitors | awk 'NR > 1 { print $3 }' |
        sed -E 's#/[0-9]+##g'
}

# Whether every screen shows the canvas repeated from the desktop's top-left corner: the screen
# read back against the tiling, screen by screen, counting differing pixels.
screen_shows_tiling() {
    local dir=$1 shot=$2 canvas=$3 screens=$4 geometry width height wrong=0 count
    read -r width height < <(identify -format '%w %h' "$shot")
    convert -size "${width}x${height}" "tile:$canvas" "$dir/expected.png"
    while read -r geometry; do
        convert "$shot" -crop "$geometry" +repage "$dir/shown-part.png"
        convert "$dir/expected.png" -crop "$geometry" +repage "$dir/expected-part.png"
        count=$(compare -metric AE "$dir/shown-part.png" "$dir/expected-part.png" null: 2>&1)
        echo "    screen $geometry: $count pixels differ"
        [[ $count == 0 ]] || wrong=1
    done <<<"$screens"
    return "$wrong"
}

# Whether one output's own screenshot is its area of the tiling.
output_shows_tiling() {
    local dir=$1 shot=$2 canvas=$3 area=$4 count
    local size=${area%%+*} offset=${area#*+}
    local right=$((${size%x*} + ${offset%+*})) bottom=$((${size#*x} + ${offset#*+}))
    convert -size "${right}x${bottom}" "tile:$canvas" -crop "$area" +repage "$dir/expected-part.png"
    count=$(compare -metric AE "$shot" "$dir/expected-part.png" null: 2>&1)
    echo "    output $area: $count pixels differ"
    [[ $count == 0 ]]
}

x11_screenshot() {
    DISPLAY=":$display_number" xwd -root -silent | convert xwd:- "png:$1"
}

record() {
    local name=$1 outcome=$2
    results+=("$outcome  $name")
    if [[ $outcome == PASS ]]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
}

# Whether no command in the data folder's name was run: it would leave a file named ran.
nothing_ran() {
    if [[ -n $(find "$1" -name ran) ]]; then
        echo "    a command in the data folder's name was run"
        return 1
    fi
}

# Applies with tidepool-render in the session and checks the screen. expect is "applied WAY" (the
# word the report's line must hold) or "refused": exit status 4, and nothing said applied.
apply_and_check() {
    local name=$1 dir=$2 expect=$3 desktop=$4
    local status out
    echo "$name"
    DISPLAY=":$display_number" xwininfo -root -tree 2>/dev/null |
        grep -E '"(Xfdesktop|pcmanfm-qt|Caja)"\)' | sed 's/^ */    desktop window: /'
    out=$(cd "$dir" && run_in_session "$dir" XDG_CURRENT_DESKTOP="$desktop" "${as_session_user[@]}" \
        "$dir/tidepool-render" --set-wallpaper -o "$dir/canvas.png" --theme 3 2>"$dir/render.err")
    status=$?
    echo "    tidepool-render: status $status: $out"
    sed 's/^/    /' "$dir/render.err"
    if ! nothing_ran "$dir"; then
        record "$name" FAIL
        return
    fi
    if [[ $expect == refused ]]; then
        if ((status == 4)) && [[ -z $out ]]; then
            record "$name" PASS
        else
            record "$name" FAIL
        fi
        return
    fi
    if ((status != 0)) || [[ $out != *"${expect#applied }"* ]]; then
        record "$name" FAIL
        return
    fi
    if [[ -z $(find "$(data_folder "$dir")/tidepool" -name 'wallpaper-*.png' 2>/dev/null) ]]; then
        echo "    no picture in the data folder"
        record "$name" FAIL
        return
    fi
    # The desktop repaints; xfdesktop may redraw seconds later, when it finds a monitor late.
    sleep 5
    "${take_screenshot[@]}" "$dir/shot.png"
    if screen_shows_tiling "$dir" "$dir/shot.png" "$dir/canvas.png" "$("${list_screens[@]}")"; then
        record "$name" PASS
    else
        record "$name" FAIL
    fi
}

# --- the cases ---

# A new session on an X server of the kind named (one: one screen; outputs: two RandR outputs;
# monitors: two RandR monitors on one output) with its bus running, the bus able to start the
# services named after; records the case as failed when the server does not come up.
start_x_session() {
    local name=$1 dir=$2 screens=$3
    shift 3
    session_extra=()
    new_session "$dir" "$@"
    case $screens in
    one) start_xvfb "$dir" 1280x800 ;;
    outputs) start_dummy_xorg "$dir" ;;
    monitors) start_split_monitors "$dir" ;;
    esac || {
        record "$name (the X server did not start)" FAIL
        return 1
    }
    start_bus "$dir"
}

bare_x() {
    local name=$1 screens=$2 window_manager=$3 desktop=$4 dir="$work/$5"
    start_x_session "$name" "$dir" "$screens" || return
    if [[ $window_manager == openbox ]]; then
        in_session "$dir" openbox
        wait_for 10 sh -c "DISPLAY=:$display_number xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window"
    fi
    apply_and_check "$name" "$dir" "applied root window" "$desktop"
    end_session "$dir"
}

xfce() {
    local name=$1 screens=$2 dir="$work/$3"
    start_x_session "$name" "$dir" "$screens" org.xfce.Xfconf || return
    run_in_session "$dir" xfconf-query -c xfce4-desktop -p /desktop-icons/style -n -t int -s 0
    in_session "$dir" openbox
    in_session "$dir" xfdesktop --disable-wm-check
    wait_for 20 sh -c "DISPLAY=:$display_number xwininfo -root -tree | grep -q '(\"xfdesktop\" \"Xfdesktop\")'"
    # Where xfdesktop's window stays smaller than the root window (on this dummy server it often
    # sees only the first output), the root window beside it must show the tiling.
    wait_for 5 window_covers '("xfdesktop" "Xfdesktop")' "$(root_size)"
    sleep 2
    apply_and_check "$name" "$dir" "applied xfconf-query" XFCE
    end_session "$dir"
}

lxqt_settings() {
    local dir=$1
    mkdir -p "$dir/config/pcmanfm-qt/lxqt"
    sed 's/^DesktopShortcuts=.*/DesktopShortcuts=/' /usr/share/pcmanfm-qt/lxqt/settings.conf \
        >"$dir/config/pcmanfm-qt/lxqt/settings.conf"
}

start_pcmanfm_desktop() {
    local dir=$1
    in_session "$dir" QT_QPA_PLATFORM=xcb pcmanfm-qt --desktop --profile=lxqt
    wait_for 20 window_covers '("pcmanfm-qt" "pcmanfm-qt")' "$(root_size)"
    sleep 1
}

lxqt() {
    local name=$1 screens=$2 dir="$work/$3"
    start_x_session "$name" "$dir" "$screens" || return
    lxqt_settings "$dir"
    in_session "$dir" openbox
    start_pcmanfm_desktop "$dir"
    apply_and_check "$name" "$dir" "applied pcmanfm-qt" LXQt
    # A restarted desktop shows what its settings say: the picture, 1:1. pcmanfm-qt writes back
    # the mode it started with when it quits, but the picture is the whole desktop's at its size,
    # so even stretched it shows the tiling unscaled.
    end_program "$dir" pcmanfm-qt
    start_pcmanfm_desktop "$dir"
    sleep 1
    x11_screenshot "$dir/restarted.png"
    echo "    after pcmanfm-qt restarted:"
    if screen_shows_tiling "$dir" "$dir/restarted.png" "$dir/canvas.png" "$(x11_screens)"; then
        record "$name, after the desktop restarts" PASS
    else
        record "$name, after the desktop restarts" FAIL
    fi
    end_session "$dir"
}

lxqt_without_desktop() {
    local name=$1 dir="$work/$2"
    start_x_session "$name" "$dir" one || return
    lxqt_settings "$dir"
    # No window manager either: the root window way would show it, so it must be the one
    # reported, never pcmanfm-qt.
    apply_and_check "$name" "$dir" "applied root window" LXQt
    end_session "$dir"
}

mate() {
    local name=$1 screens=$2 dir="$work/$3"
    start_x_session "$name" "$dir" "$screens" ca.desrt.dconf || return
    local key
    for key in computer-icon-visible home-icon-visible network-icon-visible trash-icon-visible \
        volumes-visible; do
        run_in_session "$dir" gsettings set org.mate.caja.desktop "$key" false
    done
    in_session "$dir" openbox
    in_session "$dir" caja -n --force-desktop
    wait_for 20 sh -c "DISPLAY=:$display_number xwininfo -root -tree | grep -q '(\"desktop_window\" \"Caja\")'"
    sleep 2
    apply_and_check "$name" "$dir" "applied gsettings" MATE
    end_session "$dir"
}

# sway headless as nobody, whose parser and word expansion would act on the data folder's name:
# the picture must show, and nothing may run.
# Runs as the unprivileged user sway needs.
as_nobody=("$(command -v setpriv)" --reuid=nobody --regid=nogroup --clear-groups --)

# sway headless as nobody in a new session, with its outputs: 1280 x 800 at scale 1, and 1024 x 768
# at scale 2 to its right; sets socket and the session's SWAYSOCK and WAYLAND_DISPLAY. Records the
# case as failed when sway does not start.
start_sway() {
    local name=$1 outputs=$2 dir=$3
    session_extra=()
    new_session "$dir"
    {
        echo 'xwayland disable'
        echo 'bar { mode invisible }'
        echo 'output HEADLESS-1 mode 1280x800 position 0 0 scale 1'
        echo 'output HEADLESS-2 mode 1024x768 position 1280 0 scale 2'
    } >"$dir/sway.conf"
    chown -R nobody:nogroup "$dir"
    session_extra=(WLR_BACKENDS=headless "WLR_HEADLESS_OUTPUTS=$outputs" WLR_RENDERER=pixman
        WLR_LIBINPUT_NO_DEVICES=1 XDG_CURRENT_DESKTOP=sway)
    in_session "$dir" "${as_nobody[@]}" dbus-daemon --nofork --config-file="$dir/session.conf"
    in_session "$dir" "${as_nobody[@]}" sway -c "$dir/sway.conf"
    if ! wait_for 20 sh -c "ls '$dir'/run/sway-ipc.*.sock && ls '$dir'/run/wayland-[0-9]*"; then
        record "$name (sway did not start)" FAIL
        end_session "$dir"
        return 1
    fi
    local wayland
    socket=""
    socket=$(ls "$dir"/run/sway-ipc.*.sock)
    for wayland in "$dir"/run/wayland-[0-9]*; do
        [[ -S $wayland ]] && break
    done
    wayland=${wayland##*/}
    session_extra+=(SWAYSOCK="$socket" WAYLAND_DISPLAY="$wayland")
    sleep 1
}

sway_case() {
    local name=$1 outputs=$2 dir="$work/$3"
    start_sway "$name" "$outputs" "$dir" || return
    local out status
    out=$(cd "$dir" && run_in_session "$dir" "${as_nobody[@]}" "$dir/tidepool-render" --set-wallpaper \
        -o "$dir/run/canvas.png" --theme 3 2>"$dir/render.err")
    status=$?
    echo "    tidepool-render: status $status: $out"
    sed 's/^/    /' "$dir/render.err"
    if ((status != 0)) || [[ $out != *swaymsg* ]]; then
        record "$name" FAIL
        end_session "$dir"
        return
    fi
    if nothing_ran "$dir"; then
        record "$name: nothing in the folder's name runs" PASS
    else
        record "$name: nothing in the folder's name runs" FAIL
    fi
    sleep 1.5
    # Each output read back in its own device pixels; output 2, its mode 1024 x 768 at scale 2,
    # is 512 x 384 logical pixels at 1280,0, so its device pixels lie at 2560,0.
    local -a areas=("1280x800+0+0" "1024x768+2560+0")
    local i wrong=0
    for ((i = 1; i <= outputs; i++)); do
        run_in_session "$dir" "${as_nobody[@]}" grim -o "HEADLESS-$i" "$dir/run/shot-$i.png"
        output_shows_tiling "$dir" "$dir/run/shot-$i.png" "$dir/run/canvas.png" \
            "${areas[i - 1]}" || wrong=1
    done
    if ((wrong == 0)); then
        record "$name" PASS
    else
        record "$name" FAIL
    fi
    ((outputs == 2)) && sway_native_window "$name" "$dir" "${as_nobody[@]}"
    end_session "$dir"
}

# With Xwayland off, the window and the screens Qt reports come from Qt's own Wayland plug-in.
sway_native_window() {
    local name=$1 dir=$2
    shift 2
    local -a as_nobody=("$@")
    # The screens as Qt's Wayland plug-in reports them, through the picture made for the portal
    # when sway's own tool is not on PATH: 1280 + 512 x 2 logical pixels wide in device pixels.
    local newest size
    run_in_session "$dir" PATH=/nowhere "${as_nobody[@]}" "$dir/tidepool-render" --set-wallpaper \
        >/dev/null 2>&1
    # The second application's one picture.
    newest=$(find "$dir/data" -name 'wallpaper-2-*.png' | head -n 1)
    size=$([[ -n $newest ]] && identify -format '%wx%h' "$newest")
    echo "    Qt's Wayland screens make a desktop picture of ${size:-nothing}"
    if [[ $size == 3584x800 ]]; then
        record "$name: Qt finds each output's place and scale on Wayland" PASS
    else
        record "$name: Qt finds each output's place and scale on Wayland" FAIL
    fi
    # The main window opens natively on Wayland: sway lists it by its title.
    local window
    window=$(dirname "$renderer")/tidepool
    if [[ ! -x $window ]]; then
        record "$name: the window opens on Wayland (no tidepool beside the renderer)" FAIL
        return
    fi
    cp "$window" "$dir/" && chown nobody:nogroup "$dir/tidepool"
    in_session "$dir" "${as_nobody[@]}" "$dir/tidepool"
    if wait_for 20 sh -c "SWAYSOCK='$socket' swaymsg -t get_tree | grep -q 'ぺたもぐ'"; then
        sleep 1
        run_in_session "$dir" "${as_nobody[@]}" grim "$dir/run/window.png"
        record "$name: the window opens on Wayland" PASS
    else
        record "$name: the window opens on Wayland" FAIL
    fi
}

# --- GNOME Shell, KDE Plasma and Cinnamon ---

# Runs JavaScript in the session's GNOME Shell (its --unsafe-mode allows that) and prints the
# JSON of what it returns; fails where the shell does not answer or the script throws.
gnome_eval() {
    local dir=$1 script=$2 out
    out=$(run_in_session "$dir" "${as_nobody[@]}" gdbus call --session --dest org.gnome.Shell \
        --object-path /org/gnome/Shell --method org.gnome.Shell.Eval "$script" 2>/dev/null) ||
        return 1
    [[ $out == "(true, '"*"')" ]] || return 1
    out=${out#"(true, '"}
    printf '%s\n' "${out%"')"}"
}

# Whether a condition holds in the session's GNOME Shell.
gnome_holds() {
    [[ $(gnome_eval "$1" "$2") == true ]]
}

# The shell's monitors, WxH+X+Y, one a line.
gnome_screens() {
    gnome_eval "$1" '[...Array(global.display.get_n_monitors()).keys()].map(i => {
        const r = global.display.get_monitor_geometry(i);
        return r.width + "x" + r.height + "+" + r.x + "+" + r.y; }).join(" ")' |
        tr -d '"' | tr ' ' '\n'
}

# What the shell shows, every monitor, as it composes it.
gnome_screenshot() {
    local dir=$1 shot=$2
    run_in_session "$dir" "${as_nobody[@]}" gdbus call --session \
        --dest org.gnome.Shell.Screenshot --object-path /org/gnome/Shell/Screenshot \
        --method org.gnome.Shell.Screenshot.Screenshot false false "$shot" >/dev/null
}

# GNOME Shell headless as nobody (it refuses root), on a Wayland display of its own without
# Xwayland, with a virtual monitor of each size given, side by side, and an empty system bus of
# its own beside the session's. It starts in its overview: ready once that has gone and the top
# bar and the notification banners are hidden, so that only the background shows.
start_gnome_shell() {
    local dir=$1
    shift
    bus_config system "$dir/run/system-bus" >"$dir/system.conf"
    chown -R nobody:nogroup "$dir"
    session_extra=(XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-gnome
        "DBUS_SYSTEM_BUS_ADDRESS=unix:path=$dir/run/system-bus")
    in_session "$dir" "${as_nobody[@]}" dbus-daemon --nofork --config-file="$dir/session.conf"
    in_session "$dir" "${as_nobody[@]}" dbus-daemon --nofork --config-file="$dir/system.conf"
    wait_for 10 test -S "$dir/run/bus" && wait_for 10 test -S "$dir/run/system-bus" || return 1
    local size monitors=()
    for size in "$@"; do
        monitors+=(--virtual-monitor "$size")
    done
    in_session "$dir" "${as_nobody[@]}" gnome-shell --headless --unsafe-mode --no-x11 \
        --wayland-display wayland-gnome "${monitors[@]}"
    wait_for 60 gnome_holds "$dir" '!Main.layoutManager._startingUp' || return 1
    gnome_eval "$dir" 'Main.overview.hide()' >/dev/null
    wait_for 10 gnome_holds "$dir" '!Main.overview.visible && !Main.overview.animationInProgress' ||
        return 1
    gnome_eval "$dir" 'Main.layoutManager.panelBox.hide(); Main.messageTray.bannerBlocked = true;
        Main.messageTray._bannerBin.hide()' >/dev/null
    # A keyboard for gnome_keys, made now: a new one drops the first keys it is given.
    gnome_eval "$dir" 'const Clutter = imports.gi.Clutter;
        global.tidepoolKeyboard = Clutter.get_default_backend().get_default_seat()
            .create_virtual_device(Clutter.InputDeviceType.KEYBOARD_DEVICE)' >/dev/null
    take_screenshot=(gnome_screenshot "$dir")
    list_screens=(gnome_screens "$dir")
    as_session_user=("${as_nobody[@]}")
}

# GNOME Shell on Wayland, as its users have it by default: tidepool-render learns the monitors
# through Qt's Wayland plug-in and hands gsettings one picture, spanned over both.
gnome_shell() {
    local name=$1 dir="$work/$2"
    shift 2
    session_extra=()
    new_session "$dir" ca.desrt.dconf
    if start_gnome_shell "$dir" "$@"; then
        apply_and_check "$name" "$dir" "applied gsettings" GNOME
    else
        record "$name (GNOME Shell did not start)" FAIL
    fi
    end_session "$dir"
}

# Runs a script in the session's Plasma shell; prints what the script printed, as gdbus shows it.
plasma_script() {
    run_in_session "$1" gdbus call --session --dest org.kde.plasmashell --object-path /PlasmaShell \
        --method org.kde.PlasmaShell.evaluateScript "$2" 2>/dev/null
}

# Whether the Plasma shell has a desktop on each of that many screens.
plasma_has_desktops() {
    [[ $(plasma_script "$1" 'print(desktops().filter(function (d) { return d.screen >= 0; }).length)') == "('$2',)" ]]
}

# Runs a program as nobody in a sandbox that xdg-desktop-portal and GNOME Shell take for a
# Flatpak of org.example.Tidepool (they read /.flatpak-info through /proc), which sees the system's
# /usr and /etc and the session folder, and is told FLATPAK_ID and, as Flatpak tells an
# application without access to dconf, GSETTINGS_BACKEND=keyfile.
in_sandbox() {
    local dir=$1
    shift
    printf '%s\n' '[Application]' 'name=org.example.Tidepool' '' '[Instance]' 'instance-id=1' \
        >"$dir/flatpak-info"
    in_session "$dir" "${as_nobody[@]}" bwrap --die-with-parent --ro-bind /usr /usr \
        --symlink usr/bin /bin --symlink usr/lib /lib --symlink usr/lib64 /lib64 \
        --symlink usr/sbin /sbin --ro-bind /etc /etc --dev /dev --proc /proc --tmpfs /tmp \
        --bind "$dir" "$dir" --ro-bind "$dir/flatpak-info" /.flatpak-info \
        --setenv FLATPAK_ID org.example.Tidepool --setenv GSETTINGS_BACKEND keyfile -- "$@"
}

# Presses the keys, [evdev code, 1 pressed or 0 released] each, through the virtual keyboard
# start_gnome_shell made, into the window of that title once it has the focus.
gnome_keys() {
    local dir=$1 title=$2 keys=$3
    gnome_eval "$dir" "global.get_window_actors().map(a => a.meta_window)
        .find(w => w.get_title() === '$title').activate(global.get_current_time())" >/dev/null
    wait_for 5 gnome_holds "$dir" "global.display.focus_window?.get_title() === '$title'" ||
        return 1
    sleep 0.5
    gnome_eval "$dir" "const GLib = imports.gi.GLib;
        let time = GLib.get_monotonic_time();
        for (const [code, state] of [$keys])
            global.tidepoolKeyboard.notify_key(time += 1000, code, state);" >/dev/null
}

# The titles of the windows GNOME Shell shows, one a line.
gnome_windows() {
    gnome_eval "$1" 'global.get_window_actors().map(a => a.meta_window.get_title()).join("|")' |
        tr -d '"' | tr '|' '\n'
}

# Whether GNOME Shell shows a window of that title.
gnome_shows() {
    gnome_windows "$1" | grep -qxF "$2"
}

# Whether the session has stored a picture for the desktop.
picture_made() {
    find "$(data_folder "$1")/tidepool" -name 'wallpaper-*' 2>/dev/null | grep -q .
}

# Whether GNOME's background is the copy GNOME's portal makes of the picture it is given.
portal_picture_shown() {
    run_in_session "$1" gsettings get org.gnome.desktop.background picture-uri |
        grep -q '/config/background'
}

# Whether GNOME Shell shows a modal dialog of its own (the portal's question is one).
gnome_asks() {
    gnome_holds "$1" 'Main.modalCount > 0'
}

# The window in a Flatpak on GNOME Shell, with the desktop portal and no permission stored: "壁紙に
# 設定(&W)" makes the portal ask the user whether Tidepool may set backgrounds, and neither closing
# the request nor leaving takes that question back. The window must wait for the answer rather
# than give up at its time limit, and must not fall back on gsettings, which inside the sandbox
# writes only the sandbox's own settings. Answered after the time limit, the portal sets the
# picture: the screen shows it 1:1, no question is left, the window reports nothing, and the
# sandbox's settings hold nothing of it.
gnome_sandboxed_window() {
    local name=$1 dir="$work/$2"
    session_extra=()
    new_session "$dir" ca.desrt.dconf org.freedesktop.portal.Desktop \
        org.freedesktop.impl.portal.desktop.gnome org.freedesktop.impl.portal.desktop.gtk \
        org.freedesktop.impl.portal.PermissionStore
    cp "$(dirname "$renderer")/tidepool" "$dir/"
    mkdir -p "$(data_folder "$dir")/applications"
    printf '%s\n' '[Desktop Entry]' 'Type=Application' 'Name=Tidepool' "Exec=$dir/tidepool" \
        >"$(data_folder "$dir")/applications/org.example.Tidepool.desktop"
    echo "$name"
    if ! start_gnome_shell "$dir" 1280x800; then
        record "$name (GNOME Shell did not start)" FAIL
        end_session "$dir"
        return
    fi
    in_sandbox "$dir" "$dir/tidepool"
    if ! wait_for 30 gnome_shows "$dir" ぺたもぐ; then
        record "$name (the window did not open)" FAIL
        end_session "$dir"
        return
    fi
    # Alt+G, which draws, then Alt+W, as evdev codes: left Alt 56, G 34, W 17. Alt+W again where
    # no picture was made for the desktop: the window ignores it while an application runs.
    gnome_keys "$dir" ぺたもぐ '[56, 1], [34, 1], [34, 0], [56, 0]'
    sleep 1
    local tries
    for tries in 1 2 3; do
        gnome_keys "$dir" ぺたもぐ '[56, 1], [17, 1], [17, 0], [56, 0]'
        wait_for 3 picture_made "$dir" && break
    done
    if ! wait_for 10 gnome_asks "$dir"; then
        record "$name (the portal asked nothing)" FAIL
        end_session "$dir"
        return
    fi
    # Past the application's time limit of 5 s, then the answer.
    sleep 7
    gnome_eval "$dir" 'const buttons = global.stage.get_key_focus().get_parent().get_children();
        buttons.find(b => b.label === "Allow").emit("clicked", 1)' >/dev/null
    wait_for 10 portal_picture_shown "$dir"
    sleep 1
    local wrong=0
    if gnome_asks "$dir"; then
        echo "    a question is still on the screen"
        wrong=1
    fi
    echo "    windows: $(gnome_windows "$dir" | paste -sd ' ')"
    [[ $(gnome_windows "$dir" | grep -cvx -e 'ぺたもぐ' -e 'ピクチャー') == 0 ]] || wrong=1
    if grep -q background "$dir/config/glib-2.0/settings/keyfile" 2>/dev/null; then
        echo "    gsettings wrote the sandbox's settings"
        wrong=1
    fi
    record "$name: the question is waited for and answered, nothing else done" \
        "$( ((wrong == 0)) && echo PASS || echo FAIL)"
    # The top bar comes back with the windows; neither is the background.
    gnome_eval "$dir" 'global.get_window_actors().forEach(a => a.hide());
        Main.layoutManager.panelBox.hide()' >/dev/null
    gnome_screenshot "$dir" "$dir/run/shot.png"
    if screen_shows_tiling "$dir" "$dir/run/shot.png" \
        "$(find "$(data_folder "$dir")/tidepool" -name 'wallpaper-*.png' | head -n 1)" \
        "$(gnome_screens "$dir")"; then
        record "$name: the portal shows it 1:1" PASS
    else
        record "$name: the portal shows it 1:1" FAIL
    fi
    end_session "$dir"
}

# KDE Plasma's shell on X11 without a window manager, as root; kded5, kactivitymanagerd and
# kscreen come by activation. Ready when it has a desktop on each screen; then its first-run
# panel is removed, so that only the wallpaper shows.
start_plasma() {
    local dir=$1
    session_extra+=(XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true KDE_SESSION_VERSION=5
        XDG_SESSION_TYPE=x11 DESKTOP_SESSION=plasma QT_QPA_PLATFORM=xcb)
    in_session "$dir" plasmashell --no-respawn
    wait_for 90 plasma_has_desktops "$dir" "$(x11_screens | wc -l)" || return 1
    plasma_script "$dir" 'panels().forEach(function (p) { p.remove(); })' >/dev/null
}

# KDE Plasma, each screen given its picture through the shell's script.
plasma() {
    local name=$1 screens=$2 expect=$3 dir="$work/$4"
    start_x_session "$name" "$dir" "$screens" org.kde.kded5 org.kde.ActivityManager \
        org.kde.kscreen || return
    if start_plasma "$dir"; then
        apply_and_check "$name" "$dir" "$expect" KDE
    else
        record "$name (plasmashell did not start)" FAIL
    fi
    end_session "$dir"
}

# Cinnamon's compositor lays two outputs out at their preferred modes unless its monitor
# settings say otherwise: the dummy server's two outputs as they are, side by side. A mode is
# known by its refresh rate as well: these are the modelines' (pixel clock / total pixels).
cinnamon_monitors() {
    local dir=$1 output x width height rate
    {
        echo '<monitors version="2">'
        echo '  <configuration>'
        while read -r output x width height rate; do
            echo "    <logicalmonitor><x>$x</x><y>0</y><scale>1</scale>"
            [[ $x == 0 ]] && echo '      <primary>yes</primary>'
            echo "      <monitor><monitorspec><connector>$output</connector><vendor>unknown</vendor>"
            echo '        <product>unknown</product><serial>unknown</serial></monitorspec>'
            echo "        <mode><width>$width</width><height>$height</height><rate>$rate</rate></mode>"
            echo '      </monitor>'
            echo '    </logicalmonitor>'
        done <<<"DUMMY0 0 1280 800 59.810
DUMMY1 1280 1024 768 60.004"
        echo '  </configuration>'
        echo '</monitors>'
    } >"$dir/config/cinnamon-monitors.xml"
}

# Whether a PNG file has been written to its end: its last chunk, IEND.
png_complete() {
    [[ $(tail -c 8 "$1" 2>/dev/null | head -c 4) == IEND ]]
}

# What Cinnamon's compositor shows. It writes the file in place after it answers.
cinnamon_screenshot() {
    local dir=$1 shot=$2
    rm -f "$shot"
    run_in_session "$dir" gdbus call --session --dest org.Cinnamon --object-path /org/Cinnamon \
        --method org.Cinnamon.Screenshot false false "$shot" >/dev/null &&
        wait_for 10 png_complete "$shot"
}

cinnamon_running() {
    local dir=$1
    run_in_session "$dir" gdbus call --session --dest org.gnome.SessionManager \
        --object-path /org/gnome/SessionManager \
        --method org.gnome.SessionManager.IsSessionRunning 2>/dev/null | grep -qx '(true,)' &&
        run_in_session "$dir" gdbus call --session --dest org.Cinnamon --object-path /org/Cinnamon \
            --method org.Cinnamon.GetRunState 2>/dev/null | grep -qx '(2,)' &&
        DISPLAY=":$display_number" xprop -root _XROOTPMAP_ID | grep -q 'pixmap id'
}

# Cinnamon in software rendering, as root, started by its session manager with a session of
# only its shell and csd-background, which draws the background once the session runs; no panel,
# and nemo's desktop left out, as it adds nothing to the background. Ready when the session
# runs, the shell says it has started and the root window has csd-background's picture.
start_cinnamon() {
    local dir=$1 screens=$2
    session_extra+=(XDG_CURRENT_DESKTOP=X-Cinnamon XDG_SESSION_DESKTOP=cinnamon
        DESKTOP_SESSION=cinnamon2d XDG_SESSION_TYPE=x11)
    run_in_session "$dir" gsettings set org.cinnamon panels-enabled '[]'
    mkdir -p "$dir/config/cinnamon-session/sessions" "$dir/autostart"
    printf '%s
' '[Cinnamon Session]' 'Name=Tidepool test' 'RequiredComponents=cinnamon2d;' \
        'DesktopName=X-Cinnamon' >"$dir/config/cinnamon-session/sessions/tidepool.session"
    ln -s /etc/xdg/autostart/cinnamon-settings-daemon-background.desktop "$dir/autostart/"
    [[ $screens == outputs ]] && cinnamon_monitors "$dir"
    in_session "$dir" cinnamon-session --session tidepool --autostart "$dir/autostart"
    wait_for 60 cinnamon_running "$dir" || return 1
    take_screenshot=(cinnamon_screenshot "$dir")
}

cinnamon() {
    local name=$1 screens=$2 dir="$work/$3"
    start_x_session "$name" "$dir" "$screens" ca.desrt.dconf || return
    if start_cinnamon "$dir" "$screens"; then
        apply_and_check "$name" "$dir" "applied gsettings" X-Cinnamon
    else
        record "$name (Cinnamon did not start)" FAIL
    fi
    end_session "$dir"
}

# --- keeping the wallpaper: a follower through screen changes, a new login, and forgetting ---

# The lines of a follower's output that say it put the wallpaper on the desktop.
applications() {
    grep -c '^applied through' "$1" 2>/dev/null
}

# The follower's process id, from the first line it writes.
follower_pid() {
    sed -n 's/^tidepool-render: following the screens of display .* (process \([0-9]*\))$/\1/p' \
        "$1" | tail -n 1
}

# Whether the process has ended (one that has ended but is not yet collected counts).
process_ended() {
    local state
    state=$(sed -n 's/^[0-9]* (.*) \([A-Z]\) .*/\1/p' "/proc/$1/stat" 2>/dev/null)
    [[ -z $state || $state == Z || $state == X ]]
}

# Milliseconds since the epoch.
now_ms() {
    echo $(($(date +%s%N) / 1000000))
}

# Changes the screens with the command after the arguments, then checks the follower: it applies
# the wallpaper again within five seconds, the screens read back by check (a function taking the
# session folder) show the tiling 1:1 within five seconds more, and it applies exactly once for
# the change.
follow_change() {
    local name=$1 dir=$2 log=$3 check=$4
    shift 4
    local before start applied_ms tries
    before=$(applications "$log")
    start=$(now_ms)
    "$@" >>"$dir/changes.log" 2>&1
    if ! wait_for 5 sh -c "[ \"\$(grep -c '^applied through' '$log')\" -gt $before ]"; then
        echo "    no application within 5 s of the change"
        tail -n 3 "$log" | sed 's/^/    follower: /'
        record "$name" FAIL
        return
    fi
    applied_ms=$(($(now_ms) - start))
    for ((tries = 0; tries < 5; tries++)); do
        "$check" "$dir" && break
        sleep 1
    done
    if ((tries == 5)); then
        record "$name (applied after $applied_ms ms, not shown 1:1)" FAIL
        return
    fi
    sleep 1.5
    local count=$(($(applications "$log") - before))
    echo "    applied after $applied_ms ms, $count time(s); shown 1:1 after $(($(now_ms) - start - 1500)) ms"
    if ((count == 1)); then
        record "$name" PASS
    else
        record "$name (applied $count times for one change)" FAIL
    fi
}

# The follower idle for ten seconds: no processor time, and its resident memory within 80 MB.
follower_idles() {
    local name=$1 pid=$2 before after rss peak
    before=$(awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$pid/stat")
    sleep 10
    after=$(awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$pid/stat")
    rss=$(awk '/^VmRSS:/ { print int($2 / 1024) }' "/proc/$pid/status")
    peak=$(awk '/^VmHWM:/ { print int($2 / 1024) }' "/proc/$pid/status")
    echo "    idle 10 s: $((after - before)) clock ticks of processor time; resident ${rss} MB" \
        "(${peak} MB at the most)"
    if ((after == before && rss <= 80)); then
        record "$name" PASS
    else
        record "$name" FAIL
    fi
}

# Ends the follower with SIGTERM: it must be gone within a second.
follower_ends() {
    local name=$1 pid=$2
    kill "$pid"
    if wait_for 1 process_ended "$pid"; then
        record "$name" PASS
    else
        record "$name" FAIL
    fi
}

# --forget-wallpaper: status 0, the entry gone, every follower ended; and again with nothing left.
forget_and_check() {
    local name=$1 dir=$2 pid=$3
    shift 3
    local status again
    run_in_session "$dir" "$@" "$dir/tidepool-render" --forget-wallpaper >"$dir/forget.out" 2>&1
    status=$?
    run_in_session "$dir" "$@" "$dir/tidepool-render" --forget-wallpaper >>"$dir/forget.out" 2>&1
    again=$?
    sed 's/^/    /' "$dir/forget.out"
    if ((status == 0 && again == 0)) && process_ended "$pid" &&
        [[ ! -e $dir/config/autostart/org.example.Tidepool.Follow.desktop ]]; then
        record "$name" PASS
    else
        record "$name" FAIL
    fi
}

# The X11 screens read back against the tiling.
x11_tiling_shown() {
    x11_screenshot "$1/shot.png" && screen_shows_tiling "$1" "$1/shot.png" "$1/canvas.png" "$(x11_screens)"
}

# Puts the wallpaper on the desktop with --keep-wallpaper, with the command after the arguments
# running the renderer in the session (as its user); the follower's output is then in
# follower_log. Fails the case when it is not applied, saved and kept.
keep_and_check() {
    local name=$1 dir=$2 canvas=$3
    shift 3
    local out status
    out=$(cd "$dir" && "$@" "$dir/tidepool-render" --set-wallpaper --keep-wallpaper -o "$canvas" \
        --theme 3 2>"$dir/render.err")
    status=$?
    sed 's/^/    /' <<<"$out"
    sed 's/^/    /' "$dir/render.err"
    follower_log=$(sed -n 's/.*it writes to \(.*\)$/\1/p' <<<"$out")
    if ((status != 0)) || [[ -z $follower_log || ! -s $dir/config/tidepool/wallpaper.conf ]] ||
        ! wait_for 10 sh -c "grep -q '^applied through' '$follower_log'"; then
        record "$name: applied and kept" FAIL
        return 1
    fi
    record "$name: applied and kept" PASS
}

# A new login: the follower ended, the background reset by reset (a function taking the session
# folder), then the autostart entry started by GLib's launcher as the session manager would,
# which must put the tiling back.
new_login_x11() {
    local name=$1 dir=$2 pid=$3 reset=$4 desktop=$5
    follower_ends "$name: the follower ends within a second of SIGTERM" "$pid"
    "$reset" "$dir"
    if x11_tiling_shown "$dir" >/dev/null; then
        record "$name: the login's reset took the tiling away (it did not)" FAIL
        return
    fi
    local log=$dir/login.log
    run_in_session "$dir" XDG_CURRENT_DESKTOP="$desktop" \
        gio launch "$dir/config/autostart/org.example.Tidepool.Follow.desktop" >"$log" 2>&1
    if ! wait_for 10 sh -c "grep -q '^applied through' '$log'"; then
        sed 's/^/    follower: /' "$log"
        record "$name: the autostart entry puts it back at login" FAIL
        return
    fi
    local tries
    for ((tries = 0; tries < 5; tries++)); do
        x11_tiling_shown "$dir" && break
        sleep 1
    done
    if ((tries < 5)); then
        record "$name: the autostart entry puts it back at login" PASS
    else
        record "$name: the autostart entry puts it back at login" FAIL
    fi
    printf '%s' "$(follower_pid "$log")" >"$dir/login.pid"
}

reset_root_window() {
    local -x DISPLAY=":$display_number"
    xprop -root -remove _XROOTPMAP_ID
    xprop -root -remove ESETROOT_PMAP_ID
    xsetroot -solid '#000000'
}

# The session's xfconf backdrops set to a plain black picture, and xfdesktop started afresh.
reset_xfce() {
    local dir=$1 property
    convert -size 16x16 xc:black "$dir/black.png"
    end_program "$dir" xfdesktop
    for property in $(run_in_session "$dir" xfconf-query -c xfce4-desktop -l | grep '/last-image$'); do
        run_in_session "$dir" xfconf-query -c xfce4-desktop -p "$property" -s "$dir/black.png"
    done
    in_session "$dir" xfdesktop --disable-wm-check
    wait_for 20 sh -c "DISPLAY=:$display_number xwininfo -root -tree | grep -q '(\"xfdesktop\" \"Xfdesktop\")'"
    sleep 3
}

# Bare X11 (openbox) or Xfce on Xorg with two RandR outputs: the wallpaper kept through an output
# switched off, moved to the other side and a mode changed, idle, and put back at a new login.
keep_x11() {
    local name=$1 desktop=$2 dir="$work/$3"
    local -a services=()
    [[ $desktop == XFCE ]] && services=(org.xfce.Xfconf)
    start_x_session "$name" "$dir" outputs "${services[@]}" || return
    in_session "$dir" openbox
    wait_for 10 sh -c "DISPLAY=:$display_number xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window"
    if [[ $desktop == XFCE ]]; then
        run_in_session "$dir" xfconf-query -c xfce4-desktop -p /desktop-icons/style -n -t int -s 0
        in_session "$dir" xfdesktop --disable-wm-check
        wait_for 20 sh -c "DISPLAY=:$display_number xwininfo -root -tree | grep -q '(\"xfdesktop\" \"Xfdesktop\")'"
        sleep 3
    fi
    echo "$name"
    keep_and_check "$name" "$dir" "$dir/canvas.png" run_in_session "$dir" \
        XDG_CURRENT_DESKTOP="$desktop" || {
        end_session "$dir"
        return
    }
    local log=$follower_log pid
    pid=$(follower_pid "$log")
    local -x DISPLAY=":$display_number"
    xrandr --addmode DUMMY0 1024x768 >/dev/null 2>&1
    follow_change "$name: the second output switched off" "$dir" "$log" x11_tiling_shown \
        xrandr --output DUMMY1 --off
    follow_change "$name: the second output back, on the other side" "$dir" "$log" x11_tiling_shown \
        xrandr --output DUMMY1 --mode 1024x768 --left-of DUMMY0
    follow_change "$name: the first output's mode changed" "$dir" "$log" x11_tiling_shown \
        xrandr --output DUMMY0 --mode 1024x768
    follower_idles "$name: the follower is idle between changes" "$pid"
    local reset=reset_root_window
    [[ $desktop == XFCE ]] && reset=reset_xfce
    new_login_x11 "$name" "$dir" "$pid" "$reset" "$desktop"
    local second
    second=$(run_in_session "$dir" "$dir/tidepool-render" --follow-screens 2>&1)
    if [[ $? == 0 && $second == *"a follower already keeps the wallpaper"* ]]; then
        record "$name: a second follower leaves the first in charge" PASS
    else
        record "$name: a second follower leaves the first in charge" FAIL
    fi
    forget_and_check "$name: --forget-wallpaper" "$dir" "$(cat "$dir/login.pid")"
    [[ $desktop != XFCE ]] && follower_ends_with_display "$name" "$dir" end_x_server
    end_session "$dir"
}

end_x_server() {
    kill "$(cat "$1/server.pid")"
}

end_sway() {
    local pid
    for pid in $(pgrep -x sway); do
        grep -qszxF "TIDEPOOL_TEST_SESSION=$1" "/proc/$pid/environ" && kill "$pid"
    done
}

# A follower started in the session, with the command after the arguments running it as the
# session's user, ends once end_display (a function taking the session folder) ends its display.
follower_ends_with_display() {
    local name=$1 dir=$2 end_display=$3 pid
    shift 3
    in_session "$dir" "$@" "$dir/tidepool-render" --follow-screens
    wait_for 5 sh -c "ls '$dir'/run/tidepool/follow-*.lock" && sleep 1
    pid=$(follower_pid "$dir/programs.log")
    "$end_display" "$dir"
    if [[ -n $pid ]] && wait_for 2 process_ended "$pid"; then
        record "$name: the follower ends with its display" PASS
    else
        record "$name: the follower ends with its display" FAIL
    fi
}

# Every active sway output read back with grim in its own device pixels against its part of the
# tiling: its logical place times its scale, from the desktop's top-left corner, as the wallpaper
# is cut.
sway_tiling_shown() {
    local dir=$1 output area wrong=0
    while read -r output area; do
        run_in_session "$dir" "${as_nobody[@]}" grim -o "$output" "$dir/run/shot-$output.png" &&
            output_shows_tiling "$dir" "$dir/run/shot-$output.png" "$dir/run/canvas.png" "$area" ||
            wrong=1
    done < <(SWAYSOCK=$socket swaymsg -t get_outputs -r | python3 -c '
import json, sys
outputs = [o for o in json.load(sys.stdin) if o["active"]]
def device(o):
    r, s = o["rect"], o["scale"]
    return round(r["x"] * s), round(r["y"] * s), o["current_mode"]["width"], o["current_mode"]["height"]
left = min(device(o)[0] for o in outputs)
top = min(device(o)[1] for o in outputs)
for o in outputs:
    x, y, w, h = device(o)
    print(o["name"], "%dx%d+%d+%d" % (w, h, x - left, y - top))')
    return "$wrong"
}

sway_command() {
    SWAYSOCK=$socket swaymsg "$@"
}

# sway headless with two outputs: the wallpaper kept through an output added (sway 1.7 cannot
# switch off an output of its headless backend: "Failed to commit output"; the X11 cases switch
# one off), one moved to the other side, a scale and a mode changed; idle; put back after a new
# login by the exec line of sway's config, which is how sway users start it; ended with its
# display.
keep_sway() {
    local name=$1 dir="$work/$2"
    start_sway "$name" 2 "$dir" || return
    echo "$name"
    keep_and_check "$name" "$dir" "$dir/run/canvas.png" run_in_session "$dir" "${as_nobody[@]}" || {
        end_session "$dir"
        return
    }
    local log=$follower_log pid
    pid=$(follower_pid "$log")
    sway_command output HEADLESS-3 mode 800x600 position 1792 0 >/dev/null
    follow_change "$name: a third output added" "$dir" "$log" sway_tiling_shown \
        sway_command create_output
    follow_change "$name: the second output moved to the other side" "$dir" "$log" \
        sway_tiling_shown sway_command 'output HEADLESS-2 position 0 0; output HEADLESS-1 position 512 0'
    follow_change "$name: the first output's scale changed" "$dir" "$log" sway_tiling_shown \
        sway_command output HEADLESS-1 scale 2
    follow_change "$name: the first output's mode changed" "$dir" "$log" sway_tiling_shown \
        sway_command output HEADLESS-1 mode 1024x768
    follower_idles "$name: the follower is idle between changes" "$pid"
    follower_ends "$name: the follower ends within a second of SIGTERM" "$pid"

    sway_command output '*' bg '#000000' solid_color >/dev/null
    sleep 1
    if sway_tiling_shown "$dir" >/dev/null; then
        record "$name: the login's reset took the tiling away (it did not)" FAIL
    fi
    # sway runs no autostart entries: its config's exec line, as the README gives it.
    sway_command exec "$dir/tidepool-render --follow-screens" >/dev/null
    local tries
    for ((tries = 0; tries < 10; tries++)); do
        sleep 1
        sway_tiling_shown "$dir" >/dev/null && break
    done
    if ((tries < 10)); then
        record "$name: sway's exec line puts it back at login" PASS
    else
        record "$name: sway's exec line puts it back at login" FAIL
    fi
    pid=$(follower_pid "$dir/programs.log")
    forget_and_check "$name: --forget-wallpaper" "$dir" "$pid" "${as_nobody[@]}"

    follower_ends_with_display "$name" "$dir" end_sway "${as_nobody[@]}"
    end_session "$dir"
}

# The cases whose names match TIDEPOOL_DESKTOP_ONLY (an extended regular expression), or all.
want() {
    [[ -z ${TIDEPOOL_DESKTOP_ONLY:-} || $1 =~ $TIDEPOOL_DESKTOP_ONLY ]]
}

echo "tidepool: real desktops, sessions in $work"
start=$SECONDS
want "bare X, no window manager, no desktop named" && bare_x "bare X, no window manager, no desktop named" one none "" bare
want "bare X with openbox, an unknown desktop" && bare_x "bare X with openbox, an unknown desktop" one openbox openbox openbox
want "bare X with openbox, two RandR outputs" && bare_x "bare X with openbox, two RandR outputs" outputs openbox "" openbox-outputs
want "Xfce, one screen" && xfce "Xfce, one screen" one xfce
want "Xfce, two RandR outputs" && xfce "Xfce, two RandR outputs" outputs xfce-outputs
want "Xfce, two RandR monitors on one output" && xfce "Xfce, two RandR monitors on one output" monitors xfce-monitors
want "LXQt, one screen" && lxqt "LXQt, one screen" one lxqt
want "LXQt, two RandR outputs" && lxqt "LXQt, two RandR outputs" outputs lxqt-outputs
want "LXQt named, its desktop not running" && lxqt_without_desktop "LXQt named, its desktop not running" lxqt-none
want "MATE, one screen" && mate "MATE, one screen" one mate
want "MATE, two RandR outputs" && mate "MATE, two RandR outputs" outputs mate-outputs
want "sway headless, one output" && sway_case "sway headless, one output" 1 sway
want "sway headless, two outputs, one at scale 2" && sway_case "sway headless, two outputs, one at scale 2" 2 sway-two
want "GNOME Shell on Wayland, two monitors" && gnome_shell "GNOME Shell on Wayland, two monitors" gnome 1280x800 1024x768
want "KDE Plasma, one screen" && plasma "KDE Plasma, one screen" one "applied plasmashell" plasma
want "KDE Plasma, two RandR outputs" && plasma "KDE Plasma, two RandR outputs" outputs "applied plasmashell" plasma-outputs
want "Cinnamon, two RandR outputs" && cinnamon "Cinnamon, two RandR outputs" outputs cinnamon-outputs
want "GNOME Shell, the window in a Flatpak-like sandbox" && gnome_sandboxed_window "GNOME Shell, the window in a Flatpak-like sandbox" gnome-sandbox
want "kept on bare X with openbox, two RandR outputs" && keep_x11 "kept on bare X with openbox, two RandR outputs" "" keep-bare
want "kept on Xfce, two RandR outputs" && keep_x11 "kept on Xfce, two RandR outputs" XFCE keep-xfce
want "kept on sway headless, two outputs" && keep_sway "kept on sway headless, two outputs" keep-sway

echo
echo "================ real desktops ================"
printf '  %s\n' "${results[@]}"
echo "  time: $((SECONDS - start)) s"
echo "==============================================="
echo "desktops: $passed passed, $failed failed"
((failed == 0))
