"""Prints, one a line, the names of the labels that show in the window of the application
named on the command line, as a screen reader finds them on the accessibility bus.
Exits with 77 when the bus does not answer, with 1 when the application is not on it."""
import sys
import time

from gi.repository import Gio, GLib

# Without the bus, the library below ends the process as it loads: ask for the bus first.
try:
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                      None, Gio.DBusCallFlags.NONE, 10000, None)
except GLib.Error as error:
    print(f"SKIPPED: the accessibility bus does not answer: {error.message}")
    sys.exit(77)

import pyatspi  # noqa: E402

desktop = pyatspi.Registry.getDesktop(0)


def find_application(name):
    # The application joins the bus as it starts; it is given a while to appear.
    for _ in range(100):
        for application in desktop:
            if application is not None and application.name == name:
                return application
        time.sleep(0.1)
    return None


def labels(accessible):
    if accessible.getRole() == pyatspi.ROLE_LABEL and accessible.getState().contains(
        pyatspi.STATE_SHOWING
    ):
        yield accessible.name
    for child in accessible:
        if child is not None:
            yield from labels(child)


application = find_application(sys.argv[1])
if application is None:
    print(f"{sys.argv[1]} is not on the accessibility bus")
    sys.exit(1)
for name in labels(application):
    print(name)
