#!/usr/bin/env python3
"""A desktop portal that only picks colors, for tests on a private bus.

usage: fakeportal.py color|cancel|fail
Answers PickColor with a request handle, then the request's Response:
a color of (0.5, 0.25, 1.0), a cancel (1) or an ending of another kind (2).
"""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

DBusGMainLoop(set_as_default=True)
mode = sys.argv[1]
bus = dbus.SessionBus()


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, code, results):
        pass


class Portal(dbus.service.Object):
    @dbus.service.method("org.freedesktop.portal.Screenshot", in_signature="sa{sv}", out_signature="o",
                         sender_keyword="sender")
    def PickColor(self, parent, options, sender):
        token = str(options.get("handle_token", "t"))
        path = "/org/freedesktop/portal/desktop/request/%s/%s" % (sender[1:].replace(".", "_"), token)
        request = Request(bus, path)

        def answer():
            if mode == "color":
                color = dbus.Struct((0.5, 0.25, 1.0), signature="ddd")
                request.Response(dbus.UInt32(0), dbus.Dictionary({"color": color}, signature="sv"))
            else:
                code = 1 if mode == "cancel" else 2
                request.Response(dbus.UInt32(code), dbus.Dictionary({}, signature="sv"))
            return False

        # After the handle has gone back, as the desktop's answer comes.
        GLib.timeout_add(30, answer)
        return dbus.ObjectPath(path)


Portal(bus, "/org/freedesktop/portal/desktop")
name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
GLib.MainLoop().run()
