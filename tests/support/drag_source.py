"""A drag source for the end-to-end tests: a small window at X Y whose content drags
the given file URIs, as a file manager's would (XDND). Prints "ready" once shown and
ends when the drag is over. Needs Debian's python3-gi and gir1.2-gtk-3.0.

    /usr/bin/python3 drag_source.py X Y URI...
"""
import sys

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, Gtk  # noqa: E402

x, y, uris = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3:]
window = Gtk.Window(type=Gtk.WindowType.POPUP)
window.move(x, y)
window.set_default_size(80, 80)
box = Gtk.EventBox()
box.add(Gtk.Label(label="files"))
window.add(box)
box.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY)
box.drag_source_add_uri_targets()
box.connect("drag-data-get", lambda widget, context, data, info, time: data.set_uris(uris))
box.connect("drag-end", lambda *_: Gtk.main_quit())
window.show_all()
print("ready", flush=True)
Gtk.main()
