#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# The page's site in OUT, around the program as CMake built it for the
# browser (PROGRAM, quorvel.js, with quorvel.wasm beside it): the page's own
# FILES from page/ (its HTML, style, web app manifest and scripts), its
# icons, and the service worker that keeps them; beside them quorvel-wasm.js,
# the WebAssembly as a script for the page opened from disk, qrcode.js,
# Debian's QR code library for the code to scan, a web app manifest for each
# language, and quorvel.html, all of it in one file.  The scripts are made
# small with Debian's terser.  BOARD is the board's pixels inside the circle
# and in all, as inside/total, which the page's words carry.  OUT is made
# anew each time, but removed only where it is empty or the one this script
# made, which says so in a file of its own, .quorvel-site: any other folder
# (a checkout, a home) is left alone, and the build fails.
#   scripts/web/site.sh OUT VERSION PROGRAM BOARD FILES...
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
mark=.quorvel-site
if [ -e "$1" ] && [ ! -f "$1/$mark" ] && [ -n "$(ls -A "$1")" ]; then
	echo "$1 is not a folder this build made (it has no $mark):" \
		"remove it yourself, or name an empty or new folder for the page" >&2
	exit 1
fi
rm -rf "$1"
out=$(mkdir -p "$1" && cd "$1" && pwd)
echo "Made by Quorvel's scripts/web/site.sh, which removes this folder when it makes the page anew." >"$out/$mark"
version=$2
program=$3
board=$4
shift 4
# terser needs Debian's own Node modules.
export NODE_PATH=/usr/share/nodejs

# The real SDL_gfx is linked, not the JavaScript stand-ins Emscripten has
# for some of it.
for f in boxRGBA rectangleRGBA pixelRGBA; do
	! grep -q "function _$f(" "$program" || { echo "$program carries Emscripten's own $f" >&2; exit 1; }
done
cp "$program" "${program%.js}.wasm" "$@" "$out/"
# Every language of po/LINGUAS, inside the page: no language costs a fetch.
"$top/scripts/web/words.py" "$out" "$top/po" "$board"
# The scripts made small, which keeps a first visit and the one file within
# their 200 KiB; each keeps its licence.
for f in "$program" "$@"; do
	case $f in *.js) ;; *) continue ;; esac
	f=$out/$(basename "$f")
	terser "$f" --compress --mangle --comments '/SPDX|Copyright/' -o "$f.small"
	mv "$f.small" "$f"
done
# The page and its style lose their comments too, but for their licence's.
perl -0pi -e 's/<!--(?:(?!SPDX).)*?-->\n?//gs' "$out/index.html"
perl -0pi -e 's|/\*(?:(?!SPDX).)*?\*/\n?||gs' "$out/page.css"
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
# The service worker keeps the served page's files (the page as ./), and,
# once they are used, the code library and the web app manifests with their
# icons, which only installing asks for (a first visit on a pupil's phone
# fetches one language's, not all eight), in a cache named after the
# version and the files' sum, so that any change of a file is a new cache.
# The page from disk and the one file are not the served page's.
files=$(cd "$out" && ls | LC_ALL=C sort)
sum=$(cd "$out" && cat $files | sha256sum | cut -c1-12)
quoted() { printf '"%s", ' "$@" | sed 's/, $//'; }
later=$(echo "$files" | grep -x -e qrcode.js -e '.*\.webmanifest' -e '.*\.png')
list=$(quoted $(echo "$files" | grep -v -x -F -e index.html -e quorvel.html -e quorvel-wasm.js -e "$later"))
sed -e "s/@BUILD@/$version-$sum/" -e "s/@FILES@/$list/" -e "s/@LATER@/$(quoted $later)/" \
	"$top/page/sw.js" >"$out/sw.js"
echo "wrote $out: $(cd "$out" && ls | tr '\n' ' ')"
