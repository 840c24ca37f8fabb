#!/usr/bin/env bash
# Runs a command on a session bus of its own, which can start only the services named, from the
# machine's own service files; without a name it starts none. So no test starts a desktop portal,
# a desktop's service or anything else the machine has installed behind its back. Ends the bus
# when the command ends, and exits with the command's status.
#
# Usage: private_session_bus.sh [--service NAME]... -- COMMAND [ARGUMENT...]
#        NAME: a service file in /usr/share/dbus-1/services, without ".service" (org.a11y.Bus)
set -euo pipefail

usage() {
    echo "usage: private_session_bus.sh [--service NAME]... -- COMMAND [ARGUMENT...]" >&2
    exit 2
}

services=()
while (($# > 0)); do
    case $1 in
    --service)
        (($# >= 2)) || usage
        services+=("$2")
        shift 2
        ;;
    --)
        shift
        break
        ;;
    *) usage ;;
    esac
done
(($# > 0)) || usage

# Under /tmp with a name of plain characters, as the bus's configuration holds it.
scratch=$(mktemp -d /tmp/tidepool-bus.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/services"
for service in "${services[@]}"; do
    file=/usr/share/dbus-1/services/$service.service
    if [[ ! -f $file ]]; then
        echo "private_session_bus.sh: this machine has no service $service" >&2
        exit 1
    fi
    ln -s "$file" "$scratch/services/"
done

cat >"$scratch/session.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$scratch</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$scratch/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF

status=0
dbus-run-session --config-file="$scratch/session.conf" -- "$@" || status=$?
exit "$status"
