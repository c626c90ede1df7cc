#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
"""The open panel as a screen reader reads it.

Runs the real program on a private X server, with accessibility always on,
and reads it over AT-SPI (at-spi2-core) as Orca would: the elements' roles,
names and states, their actions, and the events while keys drive the panel.
Run it inside a private D-Bus session:

    dbus-run-session -- accessibility_test.py COMMAND PROGRAM

COMMAND is the marlowick command, PROGRAM the program it runs.
"""

import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import Gio, GLib

TIMEOUT = 30  # seconds; generous, for a loaded machine
TITLES = ["Buy milk", "Call Anna", "Water the plants"]  # as added; shown newest first


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def pump(seconds=0.0):
    """Handles AT-SPI's events for a while (at least one round)."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while True:
        while context.pending():
            context.iteration(False)
        if time.monotonic() >= end:
            return
        time.sleep(0.02)


def wait_for(what, condition, timeout=TIMEOUT):
    end = time.monotonic() + timeout
    while True:
        pump()
        try:
            result = condition()
        except Exception:  # an element that went while it was read
            result = None
        if result:
            return result
        if time.monotonic() > end:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.05)


class Session:
    """A private X server and a user of its own for the program."""

    def __init__(self, command, program):
        self.command = command
        self.program = program
        self.home = tempfile.mkdtemp(prefix="marlowick-a11y-")
        self.env = dict(os.environ)
        for folder in ("config", "state", "runtime"):
            os.makedirs(os.path.join(self.home, folder), mode=0o700)
        self.env.update(HOME=self.home,
                        XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                        XDG_STATE_HOME=os.path.join(self.home, "state"),
                        XDG_RUNTIME_DIR=os.path.join(self.home, "runtime"),
                        QT_QPA_PLATFORM="xcb",
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                        QT_LOGGING_RULES="marlowick.app.info=true")
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-noreset",
                                      "-screen", "0", "1280x800x24"], pass_fds=[write_end])
        os.close(write_end)
        display = b""
        while not display.endswith(b"\n"):
            chunk = os.read(read_end, 16)
            check(chunk, "Xvfb did not start")
            display += chunk
        os.close(read_end)
        self.env["DISPLAY"] = ":" + display.decode().strip()
        self.log_path = os.path.join(self.home, "program.log")
        self.program_process = None

    def run(self, *arguments):
        return subprocess.run([self.command, *arguments], env=self.env, capture_output=True,
                              text=True, timeout=TIMEOUT, check=True).stdout

    def start(self):
        with open(self.log_path, "w") as log:
            self.program_process = subprocess.Popen([self.program], env=self.env, stderr=log)
        wait_for("the program to be ready", lambda: "ready:" in open(self.log_path).read())

    def keys(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "60", *keys], env=self.env, check=True)

    def double_click(self, x, y):
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "--repeat", "2", "1"],
                       env=self.env, check=True)

    @property
    def settings_file(self):
        return os.path.join(self.home, "config", "marlowick", "marlowick.conf")

    def stored(self):
        """The stored list's titles and whether each is done, as the settings file has them."""
        with open(self.settings_file, encoding="utf-8") as settings:
            text = settings.read()
        value = re.search(r'^marlowick\.items="?@ByteArray\((.*)\)"?$', text, re.MULTILINE).group(1)
        value = re.sub(r"\\(.)", r"\1", value)  # QSettings' escapes; the titles are plain
        return {item["title"]: item["isCompleted"] for item in json.loads(value)}

    def close(self):
        if self.program_process:
            self.program_process.terminate()
            try:
                self.program_process.wait(TIMEOUT)
            except subprocess.TimeoutExpired:
                self.program_process.kill()
        self.xvfb.terminate()
        self.xvfb.wait()
        shutil.rmtree(self.home, ignore_errors=True)


class Events:
    """The events the program sends, as (kind, role name, name, detail)."""

    KINDS = ["object:state-changed:focused", "object:state-changed:selected",
             "object:state-changed:checked", "object:state-changed:showing",
             "object:property-change:accessible-name", "focus:"]

    def __init__(self):
        self.seen = []
        pyatspi.Registry.registerEventListener(self.record, *self.KINDS)

    def record(self, event):
        try:
            role, name = event.source.getRoleName(), event.source.name
        except Exception:
            role, name = "", ""
        self.seen.append((event.type.rstrip(":"), role, name, event.detail1))

    def expect(self, what, kind, role, name=None, detail=1):
        def matches(seen):
            return (seen[0] == kind and seen[1] == role and detail in (None, seen[3])
                    and (name is None or (name(seen[2]) if callable(name) else seen[2] == name)))
        def first_match():
            return next((i + 1 for i, seen in enumerate(self.seen) if matches(seen)), 0)
        try:
            # Events come in order: the ones up to this one are done with.
            del self.seen[:wait_for(what, first_match)]
        except Failure:
            raise Failure("no event: %s; seen: %s" % (what, self.seen[-20:]))


class TrayWatcher:
    """A system tray as desktops offer it on D-Bus (a StatusNotifierWatcher
    with a host), which takes the program's tray item."""

    XML = """<node><interface name="org.kde.StatusNotifierWatcher">
      <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
      <method name="RegisterStatusNotifierHost"><arg type="s" direction="in"/></method>
      <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
      <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
      <property name="ProtocolVersion" type="i" access="read"/>
    </interface></node>"""

    def __init__(self):
        self.items = []
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION)
        interface = Gio.DBusNodeInfo.new_for_xml(self.XML).interfaces[0]
        self.bus.register_object("/StatusNotifierWatcher", interface, self.called, self.property, None)
        self.call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
                  GLib.Variant("(su)", ("org.kde.StatusNotifierWatcher", 0)))

    def called(self, bus, sender, path, interface, method, arguments, invocation):
        if method == "RegisterStatusNotifierItem":
            self.items.append(arguments.unpack()[0])
        invocation.return_value(None)

    def property(self, bus, sender, path, interface, name):
        return {"RegisteredStatusNotifierItems": GLib.Variant("as", self.items),
                "IsStatusNotifierHostRegistered": GLib.Variant("b", True),
                "ProtocolVersion": GLib.Variant("i", 0)}[name]

    def call(self, service, path, interface, method, arguments):
        return self.bus.call_sync(service, path, interface, method, arguments, None,
                                  Gio.DBusCallFlags.NONE, TIMEOUT * 1000, None).unpack()

    def item_property(self, name):
        return self.call(self.items[0], "/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get",
                         GLib.Variant("(ss)", ("org.kde.StatusNotifierItem", name)))[0]

    def menu_labels(self):
        layout = self.call(self.items[0], self.item_property("Menu"), "com.canonical.dbusmenu", "GetLayout",
                           GLib.Variant("(iias)", (0, -1, [])))[1]
        return [child[1].get("label") for child in layout[2] if child[1].get("visible", True)]


def descendants(root, role=None, name=None):
    found = []

    def walk(node):
        for child in node:
            if child is None:
                continue
            if (role is None or child.getRole() == role) and (name is None or child.name == name):
                found.append(child)
            walk(child)
    walk(root)
    return found


def one(root, role, name=None):
    matches = descendants(root, role, name)
    check(len(matches) == 1, "expected one %s named %r, found %d" % (role, name, len(matches)))
    return matches[0]


def has_states(element, *states):
    state = element.getState()
    return all(state.contains(s) for s in states)


def press(element, action):
    actions = element.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    check(action in names, "%r has no action %s (%s)" % (element.name, action, names))
    check(actions.doAction(names.index(action)), "%r did not %s" % (element.name, action))


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Marlowick":
            app.set_cache_mask(0)  # the panel changes under the reader: read it afresh
            return app
    return None


def main(command, program):
    events = Events()
    tray = TrayWatcher()
    session = Session(command, program)
    try:
        for title in TITLES:
            session.run("add", title)
        session.run("add", "--day", "tomorrow", "Return the books")
        session.start()
        app = wait_for("the program on the accessibility bus", application)

        # The tray item and its menu, named.
        wait_for("the tray item", lambda: tray.items)
        check(tray.item_property("Title") == "Marlowick", "tray title: %r" % tray.item_property("Title"))
        check(tray.menu_labels() == ["Quit"], "tray menu: %s" % tray.menu_labels())

        session.run("show")
        heading = wait_for("the day's heading", lambda: one(app, pyatspi.ROLE_HEADING))
        panel = one(app, pyatspi.ROLE_FRAME, "Marlowick")
        wait_for("the panel to take the keyboard", lambda: has_states(panel, pyatspi.STATE_ACTIVE))

        # Every element, named.
        check(re.fullmatch(r"Today, \w+, [\w ,]+ \d{4}", heading.name), "heading: %r" % heading.name)
        for name in ("Previous day", "Next day", "Add"):
            one(app, pyatspi.ROLE_PUSH_BUTTON, name)
        the_list = one(app, pyatspi.ROLE_LIST, "3 to-dos")
        rows = [row for row in the_list if row.getRole() == pyatspi.ROLE_LIST_ITEM]
        check([row.name for row in rows] == TITLES[::-1], "rows: %s" % [row.name for row in rows])
        for row in rows:
            # (Qt's AT-SPI bridge has no "checkable"; a done row is "checked".)
            check(has_states(row, pyatspi.STATE_FOCUSABLE, pyatspi.STATE_SELECTABLE, pyatspi.STATE_SHOWING),
                  "row states: %s %s" % (row.name, row.getState().getStates()))
            check(not has_states(row, pyatspi.STATE_CHECKED), "row checked: " + row.name)
            one(row, pyatspi.ROLE_CHECK_BOX, "Done")
            check(not descendants(row, pyatspi.ROLE_PUSH_BUTTON), "buttons of a row not selected: " + row.name)
        field = one(app, pyatspi.ROLE_TEXT, "New to-do")
        check(field.description == "Add a to-do...", "field described: %r" % field.description)
        check(has_states(field, pyatspi.STATE_EDITABLE, pyatspi.STATE_FOCUSABLE), "field states")

        # A check circle's action completes its to-do, as a click does, and
        # the row says so.
        anna = [row for row in rows if row.name == "Call Anna"][0]
        press(one(anna, pyatspi.ROLE_CHECK_BOX), "Press")
        wait_for("Call Anna stored as done", lambda: session.stored().get("Call Anna") is True)
        events.expect("Call Anna's row checked", "object:state-changed:checked", "list item", "Call Anna")
        check(has_states(anna, pyatspi.STATE_CHECKED), "row checked after the action")
        check(has_states(one(anna, pyatspi.ROLE_CHECK_BOX), pyatspi.STATE_CHECKED), "circle checked")

        # The keyboard: from the list (where the circle's press, as a click,
        # put it) to the add field, the header, the rows and the field again.
        session.keys("Tab")
        events.expect("the add field focused", "object:state-changed:focused", "text", "New to-do")
        session.keys("Tab")
        events.expect("the heading focused", "object:state-changed:focused", "heading", heading.name)
        session.keys("Tab")
        events.expect("the first row focused", "object:state-changed:focused", "list item", "Water the plants")
        session.keys("Down")
        events.expect("the second row selected", "object:state-changed:selected", "list item", "Call Anna")
        events.expect("the second row focused", "object:state-changed:focused", "list item", "Call Anna")
        selected = one(the_list, pyatspi.ROLE_LIST_ITEM, "Call Anna")
        check(has_states(selected, pyatspi.STATE_SELECTED, pyatspi.STATE_FOCUSED), "selected row states")
        one(selected, pyatspi.ROLE_PUSH_BUTTON, "Delete")
        session.keys("space")
        events.expect("Call Anna reopened", "object:state-changed:checked", "list item", "Call Anna", 0)
        wait_for("Call Anna stored as open", lambda: session.stored().get("Call Anna") is False)
        session.keys("Delete")
        events.expect("the deletion said", "object:state-changed:showing", "notification", "Deleted: Call Anna")
        session.keys("ctrl+z")
        events.expect("the undo said", "object:state-changed:showing", "notification", "Restored: Call Anna")
        session.keys("Tab")
        events.expect("the add field focused again", "object:state-changed:focused", "text", "New to-do")
        # Text comes in through AT-SPI's editable text, as dictation types it.
        editable = one(app, pyatspi.ROLE_TEXT, "New to-do").queryEditableText()
        check(editable.setTextContents("Feed the cat"), "text set")
        check(editable.deleteText(4, 12), "text deleted")
        wait_for("the field's text", lambda: editable.getText(0, -1) == "Feed")
        press(one(app, pyatspi.ROLE_PUSH_BUTTON, "Add"), "Press")
        events.expect("the addition said", "object:state-changed:showing", "notification", "Added: Feed")
        wait_for("Feed stored", lambda: "Feed" in session.stored())
        check(one(app, pyatspi.ROLE_LIST).name == "4 to-dos", "the list counts the new to-do")

        # A title edited in place (a double click) is a named field.
        feed = one(app, pyatspi.ROLE_LIST_ITEM, "Feed")
        x, y, width, height = feed.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        session.double_click(x + width // 2, y + height // 2)
        edit = wait_for("the edit field", lambda: one(feed, pyatspi.ROLE_TEXT, "Title"))
        check(has_states(edit, pyatspi.STATE_EDITABLE), "edit field editable")
        session.keys("Escape")
        events.expect("the list focused after the edit", "object:state-changed:focused", "list", "4 to-dos")

        # The day: its heading says the new one, and an empty day its texts.
        session.keys("Tab", "Tab")
        events.expect("the heading focused again", "object:state-changed:focused", "heading")
        session.keys("Left")
        events.expect("the day's new name", "object:property-change:accessible-name", "heading",
                      lambda name: name.startswith("Yesterday, "), detail=None)
        empty = wait_for("the empty day", lambda: one(app, pyatspi.ROLE_PANEL, "Nothing here"))
        check(empty.description == "No tasks for this day", "empty day: %r" % empty.description)
        one(empty, pyatspi.ROLE_LABEL, "Nothing here")
        one(empty, pyatspi.ROLE_LABEL, "No tasks for this day")
        check(not descendants(app, pyatspi.ROLE_LIST), "no list on an empty day")
        press(one(app, pyatspi.ROLE_PUSH_BUTTON, "Next day"), "Press")
        wait_for("today again", lambda: one(app, pyatspi.ROLE_LIST, "4 to-dos"))

        # Tomorrow's to-do, selected, offers to move to today, and does.
        press(one(app, pyatspi.ROLE_PUSH_BUTTON, "Next day"), "Press")
        wait_for("tomorrow", lambda: one(app, pyatspi.ROLE_LIST, "1 to-do"))
        session.keys("Tab")
        books = wait_for("the row selected", lambda: one(app, pyatspi.ROLE_LIST_ITEM, "Return the books"))
        press(wait_for("its button", lambda: one(books, pyatspi.ROLE_PUSH_BUTTON, "Move to today")), "Press")
        wait_for("tomorrow emptied", lambda: one(app, pyatspi.ROLE_PANEL, "Nothing here"))
        press(one(app, pyatspi.ROLE_PUSH_BUTTON, "Previous day"), "Press")
        wait_for("the books today", lambda: one(app, pyatspi.ROLE_LIST, "5 to-dos"))

        # A save that fails: the notice is an alert, and it is said.
        folder = os.path.dirname(session.settings_file)
        os.rename(folder, folder + ".away")
        open(folder, "w").close()  # no folder to save into, even for root
        try:
            press(one(one(app, pyatspi.ROLE_LIST_ITEM, "Feed"), pyatspi.ROLE_CHECK_BOX), "Toggle")
            events.expect("the notice said", "object:state-changed:showing", "notification",
                          lambda name: name.startswith("Not saved: "))
            alert = one(app, pyatspi.ROLE_ALERT)
            check(alert.name.startswith("Not saved: "), "alert: %r" % alert.name)
        finally:
            os.remove(folder)
            os.rename(folder + ".away", folder)
    finally:
        session.close()


if __name__ == "__main__":
    try:
        main(*sys.argv[1:3])
    except Failure as failure:
        print("FAIL:", failure, file=sys.stderr)
        sys.exit(1)
    print("PASS")
