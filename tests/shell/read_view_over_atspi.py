"""Prints, one a line, the names of the labels that show in the window of the application
named on the command line, as a screen reader finds them on the accessibility bus.
Exits with 77 when the bus does not answer, with 1 when the application is not on it."""
import sys
import time

try:
    import pyatspi

    desktop = pyatspi.Registry.getDesktop(0)
except Exception as error:  # the bus or its registry is missing
    print(f"SKIPPED: the accessibility bus does not answer: {error}")
    sys.exit(77)


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
