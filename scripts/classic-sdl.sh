#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Unpacks the old SDL 1.2.15 runtime (and the libcaca it links) into DIR,
# beside the compat library the program is built against, and prints the
# folder to put on LD_LIBRARY_PATH.  Nothing is installed system-wide.
#   scripts/classic-sdl.sh DIR
set -eu
dir=$1
packages="libsdl1.2debian libcaca0"

if [ ! -f "$dir/.unpacked" ]; then
	rm -rf "$dir"
	mkdir -p "$dir/debs"
	# apt-get's sandbox user cannot write into a folder of ours.
	fetch() { (cd "$dir/debs" && apt-get -q -o APT::Sandbox::User=root download $packages) >&2; }
	fetch || { apt-get update -qq >&2 && fetch; }
	for deb in "$dir"/debs/*.deb; do
		dpkg-deb -x "$deb" "$dir/root"
	done
	touch "$dir/.unpacked"
fi
lib=$(find "$dir/root" -name 'libSDL-1.2.so.0' -print | head -n 1)
[ -n "$lib" ] || { echo "classic-sdl: no libSDL-1.2.so.0 in $dir" >&2; exit 1; }
cd "$(dirname "$lib")" && pwd
