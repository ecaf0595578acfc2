#!/usr/bin/env bash
# The main job: installs what the project needs, builds TarnConfig, creates a sample installation in a
# folder of the user's (default ~/orvant-demo; never a real installation) and starts TarnConfig on it.
# Log in as "Administrator" with the password the README gives ("Demo login").
#
# Without a display the window is served over VNC on this machine only (127.0.0.1, port 5900 or the
# next free one); the script prints how to connect.
#
# Usage: scripts/demo.sh [--fresh] [FOLDER]
#   --fresh   start again from a new sample installation
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$(pwd)"

scripts/install-deps.sh

echo "== Building TarnConfig"
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target TarnConfig tarnctl

fresh=()
if [ "${1:-}" = "--fresh" ]; then
    fresh=(--fresh)
    shift
fi
folder="${1:-$HOME/orvant-demo}"
TARNCTL="$repo/build/default/config_tool/tarnctl/tarnctl" scripts/make-sample-installation.sh "${fresh[@]}" "$folder"
folder="$(cd "$folder" && pwd)"

# shellcheck source=/dev/null
. "$folder/env.sh"
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="$folder/runtime"
    mkdir -p "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
fi
program="$repo/build/default/config_tool/TarnConfig"

cat <<INFO

Installation: $folder/drive_c/ORVANT (KELBRIN_HOME=$KELBRIN_HOME, drive C: = $ORVANT_DRIVE_C)
Registry:     $ORVANT_REGISTRY_DIR
Log in as Administrator, password: orvant-demo
After OK, look at conf/ORVANTConfiguration.xml, properties/*.properties and INSTANCE_nn/ under the
installation, and at the registry folder. The stand-in Java launcher logs to logs/java-stand-in.log.
INFO

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$program"
fi

plugin="/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqvnc.so"
if [ ! -e "$plugin" ]; then
    echo "demo: no display and no Qt VNC plugin ($plugin, Debian package qt6-qpa-plugins)" >&2
    exit 1
fi

# Qt's VNC server listens on every interface without a password; the shim keeps it on this machine.
shim="$repo/build/default/loopback-only.so"
if [ ! -e "$shim" ] || [ "$repo/scripts/loopback-only.c" -nt "$shim" ]; then
    cc -shared -fPIC -O2 -o "$shim" "$repo/scripts/loopback-only.c" -ldl
fi

port_in_use() {
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}
port=5900
while port_in_use "$port"; do
    port=$((port + 1))
    if [ "$port" -gt 5999 ]; then
        echo "demo: no free VNC port between 5900 and 5999" >&2
        exit 1
    fi
done

cat <<INFO

No display: TarnConfig is served over VNC at 127.0.0.1:$port (this machine only, no VNC password).
Connect with a VNC viewer on this machine:   vncviewer 127.0.0.1::$port
From another machine, through SSH:           ssh -L $port:127.0.0.1:$port $(whoami)@$(hostname)
                                             then point the viewer at localhost::$port
Stop the demo with Ctrl+C (or press Cancel in the window).
INFO

# 1280x1024: the main window needs more room than 1024x768 with the fonts the VNC platform draws.
LD_PRELOAD="$shim${LD_PRELOAD:+:$LD_PRELOAD}" QT_QPA_PLATFORM="vnc:size=1280x1024:port=$port" exec "$program"
