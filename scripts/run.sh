#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it from the program folder build/bin.
# Without a display (no DISPLAY or WAYLAND_DISPLAY) it starts the program on a virtual display
# (Xvfb) served by x11vnc on localhost only, and says how to connect.
set -euo pipefail
cd "$(dirname "$0")/.."

headless=0
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then headless=1; fi

if [ "$headless" = 1 ]; then
    ./scripts/install-deps.sh xvfb x11vnc
else
    ./scripts/install-deps.sh
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target tidewyn -j "$(nproc 2>/dev/null || echo 2)"

if [ "$headless" = 0 ]; then
    exec build/bin/tidewyn
fi

# A free display number and VNC port.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
port=5900
while (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do port=$((port + 1)); done

# The logs go to the build folder: it belongs to whoever runs this, unlike fixed names in /tmp.
Xvfb ":$display" -screen 0 1280x900x24 -nolisten tcp >build/xvfb.log 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" ${vnc_pid:-} 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
if [ ! -e "/tmp/.X11-unix/X$display" ]; then
    echo "The virtual display :$display did not start; see build/xvfb.log." >&2
    exit 1
fi

x11vnc -display ":$display" -localhost -rfbport "$port" -forever -nopw -quiet >build/x11vnc.log 2>&1 &
vnc_pid=$!

cat <<MSG
There is no display here, so Tidewyn Vizoz runs on a virtual display.
Connect a VNC viewer to localhost:$port on this machine (it listens on localhost only).
From another computer, forward the port first:
    ssh -L $port:localhost:$port <this machine>
    vncviewer localhost:$port
Close the program (File > Exit) to stop the virtual display.
MSG

DISPLAY=":$display" build/bin/tidewyn
