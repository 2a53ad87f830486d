#!/bin/sh
# Runs a suite under a virtual X server with the openbox window manager.
# Exit status 77 (skipped) where either is missing.
suite="$1"
command -v xvfb-run >/dev/null 2>&1 && command -v openbox >/dev/null 2>&1 || exit 77
exec xvfb-run -a sh -c 'openbox >/dev/null 2>&1 & sleep 1; QT_QPA_PLATFORM=xcb "$0"; status=$?; kill $! 2>/dev/null; exit $status' "$suite"
