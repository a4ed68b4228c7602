#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Builds SDL 1.2.15 and SDL_gfx for 64-bit Windows into PREFIX, once: SDL
# from Debian's libsdl1.2 source package, SDL_gfx from its upstream archive.
#   scripts/windows/deps.sh PREFIX WORK
# SDL_GFX_ARCHIVE names the SDL_gfx 2.0.27 archive to use.
set -eu
prefix=$(mkdir -p "$1" && cd "$1" && pwd)
work=$(mkdir -p "$2" && cd "$2" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
host=x86_64-w64-mingw32
[ ! -f "$prefix/.ready" ] || exit 0
gfx_archive=$("$top/scripts/sdl-gfx-archive.sh")

# Debian's source of SDL 1.2.15, through a private deb-src list made from the
# system's own entries, so that the system's apt setup stays as it was.
apt_dir=$work/apt
mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
for f in /etc/apt/sources.list.d/*.sources; do
	[ -f "$f" ] && sed 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/parts/$(basename "$f")"
done
if [ -f /etc/apt/sources.list ]; then
	sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list >"$apt_dir/parts/system.list"
fi
apt() {
	apt-get -q -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt_dir/parts" \
		-o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache" \
		-o Acquire::Check-Valid-Until=false -o APT::Sandbox::User=root "$@"
}
rm -rf "$work/sdl"
mkdir -p "$work/sdl"
apt update >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; exit 1; }
(cd "$work/sdl" && apt source libsdl1.2) >>"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; exit 1; }
sdl=$(find "$work/sdl" -maxdepth 1 -type d -name 'libsdl1.2-*' | head -n 1)

# Debian cuts sdl.pc's link flags to -lSDL, which drops SDL's Windows entry
# code (libSDLmain); put them back.  Without the stdio redirect, the
# program's one message reaches the console rather than a file.
patch -d "$sdl" -R -p1 <"$sdl/debian/patches/dont_propagate_lpthread.diff" >/dev/null
echo "building SDL 1.2 for Windows..."
(cd "$sdl" && ./configure --host=$host --prefix="$prefix" --disable-stdio-redirect \
	--disable-static LDFLAGS=-static-libgcc && make -j2 && make install) >"$work/sdl.log" 2>&1 ||
	{ tail -n 30 "$work/sdl.log" >&2; exit 1; }

echo "building SDL_gfx for Windows..."
rm -rf "$work/gfx"
mkdir -p "$work/gfx"
tar -xzf "$gfx_archive" -C "$work/gfx"
gfx=$(find "$work/gfx" -maxdepth 1 -mindepth 1 -type d | head -n 1)
(cd "$gfx" && ./configure --host=$host --prefix="$prefix" --disable-static --disable-mmx \
	--with-sdl-prefix="$prefix" LDFLAGS=-static-libgcc && make -j2 && make install) >"$work/gfx.log" 2>&1 ||
	{ tail -n 30 "$work/gfx.log" >&2; exit 1; }
touch "$prefix/.ready"
