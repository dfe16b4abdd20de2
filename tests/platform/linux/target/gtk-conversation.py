# A GTK 3 chat window for the accessibility tests: a conversation of labels above a text view.
# Arguments: the text view's text, and how many messages the conversation holds (3 when not given).
# It reports on standard output, one JSON object a line, when it is ready and each time the text view's
# text changes:
#   {"event": "ready"}
#   {"event": "text", "field": "reply", "text": "…"}
import json
import sys

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import Gtk  # noqa: E402


def report(**fields):
    print(json.dumps(fields), flush=True)


window = Gtk.Window(title="Lunch with Bo")
box = Gtk.Box(orientation=Gtk.Orientation.VERTICAL, spacing=6)
lines = ["Bo: Lunch tomorrow?", "Me: Sure, where?", "Bo: The café on Main Street 🍜"]
count = int(sys.argv[2]) if len(sys.argv) > 2 else len(lines)
lines += ["Bo: Message %d, about the figures for the review." % number for number in range(4, count + 1)]
# A part of the window out of sight, as applications keep them: a closed revealer's folders of a file panel
# (GTK keeps them visible but not mapped).
folders = Gtk.Box(orientation=Gtk.Orientation.VERTICAL)
for folder in ["Bookmarks", "File System"]:
    folders.pack_start(Gtk.Label(label=folder), False, False, 0)
panel = Gtk.Revealer(reveal_child=False)
panel.add(folders)
box.pack_start(panel, False, False, 0)
for line in lines:
    label = Gtk.Label(label=line, xalign=0)
    box.pack_start(label, False, False, 0)
view = Gtk.TextView()
view.get_buffer().set_text(sys.argv[1] if len(sys.argv) > 1 else "")
view.get_buffer().connect(
    "changed", lambda buffer: report(event="text", field="reply",
                                     text=buffer.get_text(buffer.get_start_iter(), buffer.get_end_iter(), True)))
box.pack_start(view, True, True, 0)
window.add(box)
window.set_default_size(480, 320)
window.move(80, 80)
window.connect("destroy", Gtk.main_quit)
announced = []


def on_focus(*_):
    if not announced:
        announced.append(True)
        report(event="ready")
    return False


view.connect("focus-in-event", on_focus)
window.show_all()
view.grab_focus()
window.present()
Gtk.main()
