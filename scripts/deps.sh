# shellcheck shell=bash
# Sourced by the build scripts: the Debian packages Tidepool builds with, and the installer that
# fetches whichever of them are missing. Add new dependencies here only, so the test and run
# scripts never drift apart.

TIDEPOOL_PACKAGES=(
    build-essential
    cmake
    ninja-build
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    libcli11-dev
    pkg-config
    libpng-dev
    libturbojpeg0-dev
    libgif-dev
    # libjpeg's own interface, with which the benchmark crafts hostile progressive JPEGs.
    libjpeg-dev
    qt6-base-dev
    # Qt Linguist's CMake functions and its lupdate and lrelease, which keep the windows' English
    # translation and compile it.
    qt6-tools-dev
    qt6-l10n-tools
    # A Japanese Gothic font, so the windows' captions render on a desktop without one, and Qt's
    # own Japanese texts for its file and colour dialogs. The windows are checked with each of
    # the three Gothic fonts the package accepts: IPA, VL and Noto Sans CJK.
    fonts-ipafont-gothic
    fonts-vlgothic
    fonts-noto-cjk
    qt6-translations-l10n
    # Putting the wallpaper on the desktop: the X11 root window through xcb, and the tests' own
    # X server and private session bus.
    libxcb1-dev
    xvfb
    xauth
    dbus
    # The window on a Wayland session, natively.
    qt6-wayland
    # The real desktops the wallpaper is put on in scripts/desktop_tests.sh: X servers with one
    # screen and with two RandR outputs, the tools that read the screen back, and the desktops.
    x11-utils
    x11-xserver-utils
    x11-apps
    imagemagick
    xserver-xorg-core
    xserver-xorg-video-dummy
    openbox
    xfdesktop4
    xfconf
    pcmanfm-qt
    caja
    mate-desktop-common
    sway
    swaybg
    grim
    # GNOME Shell (headless, on Wayland), KDE Plasma and Cinnamon, and gdbus and gsettings to
    # drive them; GNOME's backend of the desktop portal (below), and bubblewrap for a
    # Flatpak-like sandbox that asks it.
    gnome-shell
    plasma-desktop
    cinnamon
    libglib2.0-bin
    dconf-gsettings-backend
    xdg-desktop-portal-gnome
    bubblewrap
    # The windows under a real window manager (openbox, above), driven by the real pointer
    # (tests/support/x_desktop.sh): size hints, drags of the frame, the random-input run.
    xdotool
    # GLib's own launcher (gio launch), which starts the follower's autostart entry as GNOME's
    # and Cinnamon's session managers do.
    libglib2.0-bin
    # The windows read through the accessibility bus as a screen reader reads them.
    at-spi2-core
    gir1.2-atspi-2.0
    python3-gi
    # The desktop portal as most desktops have it, on which the window is closed while it waits.
    xdg-desktop-portal
    xdg-desktop-portal-gtk
    # The check that every C++ file is laid out as .clang-format says.
    clang-format
    # The fuzz targets: clang with libFuzzer and the sanitizer runtimes.
    clang
    libclang-rt-14-dev
    # The Debian package: dpkg-shlibdeps and dpkg-buildflags, and the checks of what it holds.
    dpkg-dev
    lintian
    desktop-file-utils
    appstream
    man-db
    bash-completion
    zsh
    # setpriv, to run the read-only-folder tests as an unprivileged user when the suite runs as
    # root.
    util-linux
    # strace, to watch a save force the file and its folder to disk in the right order.
    strace
)

# Prints the packages of TIDEPOOL_PACKAGES that dpkg does not report as installed, one a line.
tidepool_missing_packages() {
    local package status
    for package in "${TIDEPOOL_PACKAGES[@]}"; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        if [[ "$status" != "install ok installed" ]]; then
            printf '%s\n' "$package"
        fi
    done
}

# Installs the missing packages with apt-get, as root or through sudo. The package lists are only
# refreshed when something is missing, so a machine that has everything never touches the network.
tidepool_install_dependencies() {
    if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
        echo "tidepool: this script needs a Debian system with dpkg and apt-get" >&2
        return 1
    fi

    local -a missing
    mapfile -t missing < <(tidepool_missing_packages)
    if ((${#missing[@]} == 0)); then
        echo "tidepool: all build dependencies are installed"
        return 0
    fi

    local -a as_root=()
    if ((EUID != 0)); then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "tidepool: missing packages (${missing[*]}) and no sudo to install them;" \
                "run as root or install them by hand" >&2
            return 1
        fi
        as_root=(sudo)
    fi

    echo "tidepool: installing ${missing[*]}"
    # apt-get must never wait for an answer: CI runs without a terminal or standard input.
    # Callers may run this inside a condition, where set -e is off, so each failure returns here.
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update </dev/null || return 1
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${missing[@]}" </dev/null || return 1
}
