#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Prints the path of SDL_gfx 2.0.27's source archive once its sha256 is
# checked: SDL_GFX_ARCHIVE, or the copy in ../shared/sources beside the tree.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
sha256=b79440d7d1a61e06afa72ebdddc3db34b115de27ee626cc8b84620884f9aa5a5
archive=${SDL_GFX_ARCHIVE:-$top/../shared/sources/SDL_gfx-2.0.27.tar.gz}
if [ ! -f "$archive" ]; then
	echo "SDL_gfx 2.0.27 is needed as a source archive: get SDL_gfx-2.0.27.tar.gz" >&2
	echo "(sha256 $sha256) from the SDL_gfx project and name it with SDL_GFX_ARCHIVE=..." >&2
	exit 1
fi
echo "$sha256  $archive" | sha256sum -c --quiet - >&2 ||
	{ echo "$archive is not SDL_gfx 2.0.27 (sha256 differs)" >&2; exit 1; }
echo "$archive"
