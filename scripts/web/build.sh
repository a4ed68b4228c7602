#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# The program for the browser, built with Debian's Emscripten into OUT: the
# page, quorvel.js and quorvel.wasm, a static site.  SDL_gfx is compiled from
# its source archive, the program's own sources as they are, each with the web
# layer's header ahead of it (src/web/sdl_web.hpp).
#   scripts/web/build.sh OUT
# SDL_GFX_ARCHIVE names the SDL_gfx 2.0.27 archive to use.
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
rm -rf "$1"
out=$(mkdir -p "$1" && cd "$1" && pwd)
gfx_archive=$("$top/scripts/sdl-gfx-archive.sh")
# Emscripten's JavaScript steps need Debian's own Node modules.
export NODE_PATH=/usr/share/nodejs

work=$out-work
rm -rf "$work/gfx" && mkdir -p "$work/gfx"
tar -xzf "$gfx_archive" -C "$work/gfx"
gfx=$(find "$work/gfx" -maxdepth 1 -mindepth 1 -type d)
layer="-include $top/src/web/sdl_web.hpp"
# The real SDL_gfx, not the JavaScript stand-ins Emscripten has for some of it.
rm -f "$work/libSDL_gfx.a"
for c in SDL_gfxPrimitives SDL_gfxBlitFunc SDL_rotozoom; do
	emcc -O2 -w $layer -I"$gfx" -c "$gfx/$c.c" -o "$work/$c.o"
	emar rcs "$work/libSDL_gfx.a" "$work/$c.o"
done
em++ -O2 -std=c++20 -Wall -Wextra -Wpedantic -c "$top/src/web/sdl_web.cpp" -o "$work/sdl_web.o"
em++ -O2 -std=c++20 -Wall -Wextra -Wpedantic $layer -I"$gfx" -I"$top/src" \
	"$top/src/main.cpp" "$top/src/sampling.cpp" "$top/src/scene.cpp" \
	"$work/sdl_web.o" "$work/libSDL_gfx.a" -o "$out/quorvel.js" \
	-sASYNCIFY -sENVIRONMENT=web -sINITIAL_MEMORY=16MB
cp "$top/src/web/index.html" "$out/index.html"
for f in boxRGBA rectangleRGBA pixelRGBA; do
	! grep -q "function _$f(" "$out/quorvel.js" || { echo "quorvel.js carries Emscripten's own $f" >&2; exit 1; }
done
echo "wrote $out: $(cd "$out" && ls | tr '\n' ' ')"
