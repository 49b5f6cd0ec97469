#!/usr/bin/env bash
# Runs a command inside a private desktop session made by the shared helpers: an X server of the
# given size with a window manager, a session bus and a PulseAudio server with a null sink. The
# command finds them in its environment (DISPLAY, DBUS_SESSION_BUS_ADDRESS, PULSE_SERVER, and the
# X server's process in E2E_XVFB_PID); everything is stopped when it ends.
#   session.sh WIDTHxHEIGHT COMMAND [ARG...]
set -euo pipefail
size=$1
shift
source "$(dirname "$0")/lib.sh"
e2e_init
e2e_xvfb "$size"
e2e_wm
e2e_bus
e2e_pulse
export E2E_XVFB_PID
"$@"
