"""A desktop portal that takes a wallpaper request and never answers it, as one waiting on a dialog
nobody sees does. Writes a line to the log for each call it gets: "ready" once it owns its name,
then "SetWallpaperURI <request>" and "Close <request>".

Usage: silent_portal.py LOG
"""
import sys

from gi.repository import Gio, GLib

INTERFACES = Gio.DBusNodeInfo.new_for_xml(
    """<node>
  <interface name="org.freedesktop.portal.Wallpaper">
    <method name="SetWallpaperURI">
      <arg type="s" direction="in"/><arg type="s" direction="in"/>
      <arg type="a{sv}" direction="in"/><arg type="o" direction="out"/>
    </method>
  </interface>
  <interface name="org.freedesktop.portal.Request"><method name="Close"/></interface>
</node>"""
).interfaces
PORTAL_PATH = "/org/freedesktop/portal/desktop"

log = open(sys.argv[1], "a", buffering=1, encoding="utf-8")


def on_call(bus, sender, path, _interface, method, parameters, invocation):
    if method == "SetWallpaperURI":
        # Where the portal puts a request: the caller's unique name, then its token.
        token = parameters.unpack()[2].get("handle_token", "request")
        request = f"{PORTAL_PATH}/request/{sender[1:].replace('.', '_')}/{token}"
        bus.register_object(request, INTERFACES[1], on_call)
        log.write(f"SetWallpaperURI {request}\n")
        invocation.return_value(GLib.Variant("(o)", (request,)))
    else:
        log.write(f"{method} {path}\n")
        invocation.return_value(None)


session = Gio.bus_get_sync(Gio.BusType.SESSION)
session.register_object(PORTAL_PATH, INTERFACES[0], on_call)
loop = GLib.MainLoop()
# Ends with the bus, or when the name is someone else's (and "ready" never comes).
Gio.bus_own_name_on_connection(
    session,
    "org.freedesktop.portal.Desktop",
    Gio.BusNameOwnerFlags.NONE,
    lambda *_: log.write("ready\n"),
    lambda *_: loop.quit(),
)
loop.run()
