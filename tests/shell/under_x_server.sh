#!/bin/sh
# Runs a test program under an X server of its own; skips when none can be started.
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "SKIPPED: xvfb-run is missing (Debian package xvfb)"
    exit 77
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" "$@"
