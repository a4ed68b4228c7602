#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# The program for the browser, built with Debian's Emscripten into OUT: the
# page, quorvel.js and quorvel.wasm, the page's own style and scripts, its web
# app manifest and icons, and the service worker that keeps them, a static
# site; beside them quorvel-wasm.js, the WebAssembly as a script for the page
# opened from disk, qrcode.js, Debian's QR code library for the code to scan,
# a web app manifest for each language, and quorvel.html, all of it in one
# file.  SDL_gfx is compiled from its source archive, the program's own
# sources as they are, each with the web layer's header ahead of it
# (src/web/sdl_web.hpp); the scripts are made small with Debian's terser.
#   scripts/web/build.sh OUT VERSION
# SDL_GFX_ARCHIVE names the SDL_gfx 2.0.27 archive to use.
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
rm -rf "$1"
out=$(mkdir -p "$1" && cd "$1" && pwd)
version=$2
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
	emcc -O2 -w $layer -DQUORVEL_WEB_SDL_GFX -I"$gfx" -c "$gfx/$c.c" -o "$work/$c.o"
	emar rcs "$work/libSDL_gfx.a" "$work/$c.o"
done
em++ -O2 -std=c++20 -Wall -Wextra -Wpedantic -I"$gfx" -c "$top/src/web/sdl_web.cpp" -o "$work/sdl_web.o"
# Without a file system the program still writes to the console, and its
# script is a third smaller.
em++ -O2 -std=c++20 -Wall -Wextra -Wpedantic $layer -I"$gfx" -I"$top/src" \
	"$top/src/main.cpp" "$top/src/sampling.cpp" "$top/src/scene.cpp" \
	"$work/sdl_web.o" "$work/libSDL_gfx.a" -o "$out/quorvel.js" \
	-sASYNCIFY -sENVIRONMENT=web -sINITIAL_MEMORY=16MB -sFILESYSTEM=0
for f in index.html page.css words.js page.js trouble.js share.js chart.js class.js quorvel.webmanifest; do
	cp "$top/src/web/$f" "$out/"
done
# Every language of po/LINGUAS, inside the page: no language costs a fetch.
"$top/scripts/web/words.py" "$out" "$top/po"
# The scripts made small, which keeps a first visit and the one file within
# their 200 KiB; each keeps its licence.
for f in quorvel.js words.js page.js trouble.js share.js chart.js class.js; do
	terser "$out/$f" --compress --mangle --comments '/SPDX|Copyright/' -o "$out/$f.small"
	mv "$out/$f.small" "$out/$f"
done
cp "$top/data/quorvel.svg" "$top/data"/quorvel-*.png "$out/"
# A page opened from disk may not fetch quorvel.wasm, but it may run a script.
"$top/scripts/web/wasm-script.py" "$out/quorvel.wasm" >"$out/quorvel-wasm.js"
# The library made small, with its licence, which travels wherever it goes.
qrcode=/usr/share/nodejs/qrcode-generator/qrcode.js
{
	echo "/*! qrcode-generator $(sed -n 's/.*"version": *"\([^"]*\)".*/\1/p' "$(dirname $qrcode)/package.json")"
	sed -n 's|^// *\(Copyright (c) .*\)|\1|p' "$qrcode" | head -n 1
	echo
	sed -n '/^ Permission is hereby granted/,$p' /usr/share/doc/node-qrcode-generator/copyright |
		sed -e 's/^ //' -e 's/^\.$//'
	echo " */"
	terser "$qrcode" --compress --mangle
} >"$out/qrcode.js"
"$top/scripts/web/one-file.py" "$out"
for f in boxRGBA rectangleRGBA pixelRGBA; do
	! grep -q "function _$f(" "$out/quorvel.js" || { echo "quorvel.js carries Emscripten's own $f" >&2; exit 1; }
done
# The service worker keeps the served page's files (the page as ./), and the
# code library once it is used, in a cache named after the version and the
# files' sum, so that any change of a file is a new cache.  The page from
# disk and the one file are not the served page's.
files=$(cd "$out" && ls | LC_ALL=C sort)
sum=$(cd "$out" && cat $files | sha256sum | cut -c1-12)
quoted() { printf '"%s", ' "$@" | sed 's/, $//'; }
list=$(quoted $(echo "$files" | grep -v -x -e index.html -e quorvel.html -e quorvel-wasm.js -e qrcode.js))
sed -e "s/@BUILD@/$version-$sum/" -e "s/@FILES@/$list/" -e "s/@LATER@/$(quoted qrcode.js)/" \
	"$top/src/web/sw.js" >"$out/sw.js"
echo "wrote $out: $(cd "$out" && ls | tr '\n' ' ')"
