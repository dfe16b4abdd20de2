# A GTK 3 mail window for the end-to-end tests: a received message above the reply being written; or,
# with "login", a sign-in form whose password field has the focus. It reports on standard output, one
# JSON object a line, when it is ready and each time a field's text changes:
#   {"event": "ready"}
#   {"event": "text", "field": "reply" | "user" | "password", "text": "…"}
import json
import sys

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import Gtk  # noqa: E402


def report(**fields):
    print(json.dumps(fields), flush=True)


def watch_entry(entry, field):
    entry.connect("changed", lambda widget: report(event="text", field=field, text=widget.get_text()))


def mail_window():
    window = Gtk.Window(title="Re: Lunch tomorrow? - Mail")
    box = Gtk.Box(orientation=Gtk.Orientation.VERTICAL, spacing=6)
    for line in ["From: Bo Fischer <bo@example.com>", "To: Ada Lovelace <ada@example.com>",
                 "Subject: Lunch tomorrow?", "", "Hi Ada,", "Lunch tomorrow? The café on Main Street has a new menu.",
                 "Bo"]:
        box.pack_start(Gtk.Label(label=line, xalign=0), False, False, 0)
    view = Gtk.TextView()
    view.get_accessible().set_name("Reply")
    buffer = view.get_buffer()
    buffer.connect("changed", lambda b: report(event="text", field="reply",
                                               text=b.get_text(b.get_start_iter(), b.get_end_iter(), True)))
    box.pack_start(view, True, True, 0)
    window.add(box)
    return window, view


def login_window():
    window = Gtk.Window(title="Sign in to Harbor Bank")
    grid = Gtk.Grid(row_spacing=6, column_spacing=6)
    user = Gtk.Entry(text="ada@example.com")
    watch_entry(user, "user")
    password = Gtk.Entry(text="correct horse battery", visibility=False)
    watch_entry(password, "password")
    grid.attach(Gtk.Label(label="E-mail"), 0, 0, 1, 1)
    grid.attach(user, 1, 0, 1, 1)
    grid.attach(Gtk.Label(label="Password"), 0, 1, 1, 1)
    grid.attach(password, 1, 1, 1, 1)
    window.add(grid)
    return window, password


window, focus = login_window() if sys.argv[1:] == ["login"] else mail_window()
window.set_default_size(520, 360)
window.move(80, 80)
window.connect("destroy", Gtk.main_quit)
announced = []


def on_focus(*_):
    if not announced:
        announced.append(True)
        report(event="ready")
    return False


focus.connect("focus-in-event", on_focus)
window.show_all()
focus.grab_focus()
window.present()
Gtk.main()
