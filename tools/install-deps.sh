#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only those still missing, so a
# second run is quick. Uses sudo when not run as root. Packages named as arguments are added, for
# the few commands that need more (make artwork).
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    libsdl2-dev libx11-dev libxext-dev libxrender-dev libwayland-dev libpng-dev
    libgtest-dev libbenchmark-dev
    clang-format
    xvfb openbox xdotool x11-utils x11-xserver-utils dbus-daemon weston imagemagick
    dpkg-dev debhelper fakeroot lintian file desktop-file-utils appstream groff-base man-db
    strace
    # the Wayland test at a fractional output scale (about 70 MB, half a minute to install)
    kwin-wayland
    # the sound test: the game heard through a private PulseAudio server
    pulseaudio pulseaudio-utils python3
    python3-pil
    # make perf: X Damage times the first frame
    libxdamage-dev
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi

# the web build and its tests in a browser and under Node
"$(dirname "$0")/install-web-deps.sh"
