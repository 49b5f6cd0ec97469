#!/usr/bin/env bash
# Builds Debian's own SDL2 source package with emscripten into a static library for the browser
# build: build/web-sdl/prefix/{include,lib}. Nothing is downloaded but the Debian source package,
# and a finished build is kept, so a second run returns at once.
set -euo pipefail
cd "$(dirname "$0")/.."

out=build/web-sdl
prefix=$PWD/$out/prefix
[ -f "$prefix/lib/libSDL2.a" ] && exit 0

rm -rf "$out"
mkdir -p "$out"
(cd "$out" && apt-get source --download-only -qq libsdl2 >/dev/null &&
    dpkg-source --no-check -x ./libsdl2_*.dsc source >/dev/null)

# Only what the game uses: video, events, timers and audio; no threads, as on a plain web page.
emcmake cmake -S "$out/source" -B "$out/build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL_THREADS=OFF -DSDL_PTHREADS=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_SENSOR=OFF \
    -DSDL_HIDAPI=OFF -DSDL_POWER=OFF -DSDL_FILESYSTEM=ON -DSDL_LOCALE=OFF -DSDL_MISC=OFF \
    -DSDL_OPENGLES=ON >/dev/null
emmake cmake --build "$out/build" -j "$(nproc)" >/dev/null
cmake --install "$out/build" >/dev/null
echo "SDL2 for the web: $prefix"
