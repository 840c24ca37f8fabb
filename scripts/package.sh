#!/usr/bin/env bash
# Builds the Debian package tidepool_<version>_<architecture>.deb in a fresh Release tree,
# build/package, with Debian's own hardening flags, installing missing Debian packages first.
# The package installs to /usr; its library dependencies come from dpkg-shlibdeps. It is
# reproducible: the same sources give the same bytes in any folder, at any time, under any umask.
#
# Usage: scripts/package.sh
# Environment: TIDEPOOL_BUILD_JOBS   compile jobs (default 2)
#              SOURCE_DATE_EPOCH    the packaged files' time (default: the changelog's latest entry)
# Prints the package's path as its last line. scripts/check_package.sh checks it.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source-path=SCRIPTDIR source=deps.sh
source "$repo/scripts/deps.sh"
build="$repo/build/package"

tidepool_install_dependencies

# What Debian's own packages are built with: stack protector, fortified functions, full RELRO and
# immediate binding. CMake takes the flags from the environment when it first configures a tree.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
# The same sources give the same package wherever and whenever they are built: no folder of this
# build reaches the binaries, and every time stamp in the package is the changelog's latest entry.
CXXFLAGS+=" -ffile-prefix-map=$repo=."
export CXXFLAGS LDFLAGS
# CPack creates the package's top folders (usr/, usr/bin/ …) and its ar members with the modes the
# umask gives; under umask 077 the plug-in's folder would install unreadable to users. Packages are
# built under 022, as dpkg-buildpackage does.
umask 022
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l "$repo/packaging/changelog" -STimestamp)}
export SOURCE_DATE_EPOCH

rm -rf "$build"
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DTIDEPOOL_BUILD_TESTS=OFF -DTIDEPOOL_BUILD_BENCH=OFF
cmake --build "$build" --parallel "${TIDEPOOL_BUILD_JOBS:-2}"
(cd "$build" && cpack -G DEB)

shopt -s nullglob
packages=("$build"/tidepool_*.deb)
if ((${#packages[@]} != 1)); then
    echo "package: expected one tidepool_*.deb in $build, found ${#packages[@]}" >&2
    exit 1
fi
echo "${packages[0]}"
