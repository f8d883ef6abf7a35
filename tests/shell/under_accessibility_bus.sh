#!/bin/sh
# Runs a test program under an X server and a session bus of its own, with the toolkit's
# bridge to the accessibility bus on; skips when either cannot be had, or when no python3
# can read that bus.
for tool in xvfb-run dbus-run-session; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is missing (Debian packages xvfb, dbus)"
        exit 77
    fi
done
if ! dbus-run-session -- true >/dev/null 2>&1; then
    echo "SKIPPED: no session bus can be started"
    exit 77
fi
for python in /usr/bin/python3 python3; do
    if "$python" -c 'import pyatspi' >/dev/null 2>&1; then
        TORVANIK_ATSPI_PYTHON=$python
        break
    fi
done
if [ -z "$TORVANIK_ATSPI_PYTHON" ]; then
    echo "SKIPPED: no python3 with pyatspi (Debian package python3-pyatspi)"
    exit 77
fi
export TORVANIK_ATSPI_PYTHON QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
exec xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- "$@"
