#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
# A notification server on the session bus that writes each notification it
# is sent as one line, "summary<TAB>body", to LOG; with --tray, a
# StatusNotifierItem watcher with a host too, so that Qt sees a system tray.
# Writes "ready" to READY_FILE once it owns its names.
# Usage: fake_desktop_services.py LOG READY_FILE [--tray]
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

log_path, ready_path = sys.argv[1], sys.argv[2]
with_tray = "--tray" in sys.argv[3:]


class Notifications(dbus.service.Object):
    @dbus.service.method("org.freedesktop.Notifications", in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app_name, replaces_id, app_icon, summary, body, actions, hints, timeout):
        with open(log_path, "a", encoding="utf-8") as log:
            log.write(f"{summary}\t{body}\n")
        return 1

    @dbus.service.method("org.freedesktop.Notifications", out_signature="ssss")
    def GetServerInformation(self):
        return ("fake", "marlowick tests", "1", "1.2")


WATCHER = "org.kde.StatusNotifierWatcher"


class Watcher(dbus.service.Object):
    # Qt reads IsStatusNotifierHostRegistered through an interface it
    # builds from the introspection, which must name the property.
    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature="s")
    def Introspect(self):
        return f"""<node><interface name="{WATCHER}">
            <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
            <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
            <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
            <property name="ProtocolVersion" type="i" access="read"/>
            <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
            </interface></node>"""

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierItem(self, service):
        pass

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.GetAll(interface)[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {"IsStatusNotifierHostRegistered": True, "ProtocolVersion": dbus.Int32(0),
                "RegisteredStatusNotifierItems": dbus.Array([], signature="s")}


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
names = [dbus.service.BusName("org.freedesktop.Notifications", bus)]
Notifications(bus, "/org/freedesktop/Notifications")
if with_tray:
    names.append(dbus.service.BusName(WATCHER, bus))
    Watcher(bus, "/StatusNotifierWatcher")
with open(ready_path, "w", encoding="utf-8") as ready:
    ready.write("ready\n")
GLib.MainLoop().run()
