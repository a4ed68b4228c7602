#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Builds the release twice from the committed HEAD, in two fresh clones at
# different paths, one after the other, the second in another time zone and
# under another umask, and compares the files byte for byte; diffoscope says
# what differs.  The Debian base systems in CHROOTS are shared: they are what
# the package is built on, not what it is built from.  The package's checks
# (make deb's) do not change what is built, so they are left out here.
#   scripts/release/check-reproducible.sh WORK CHROOTS
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mkdir -p "$1" && cd "$1" && pwd)
chroots=$(mkdir -p "$2" && cd "$2" && pwd)
# The clones sit elsewhere, so they are told where SDL_gfx's archive is.
gfx=$("$top/scripts/sdl-gfx-archive.sh")
gfx=$(cd "$(dirname "$gfx")" && pwd)/$(basename "$gfx")
commit=$(git -C "$top" rev-parse HEAD)

rm -rf --one-file-system "$work"/one "$work"/two
release() {
	clone=$1
	git clone -q --no-checkout "$top" "$clone"
	git -C "$clone" checkout -q "$commit"
	start=$(date +%s)
	make -C "$clone" release CHROOTS="$chroots" SDL_GFX_ARCHIVE="$gfx" DEB_CHECKS=no >"$clone.log" 2>&1 ||
		{ tail -n 30 "$clone.log" >&2; echo "make release failed in $clone" >&2; exit 1; }
	echo "released in $clone in $(($(date +%s) - start)) s"
}
(umask 022 && TZ=UTC release "$work/one/quorvel")
(umask 002 && TZ=Pacific/Kiritimati release "$work/two/a/longer/path/to/quorvel")

a=$work/one/quorvel/build/release
b=$work/two/a/longer/path/to/quorvel/build/release
status=0
for f in $( (ls "$a" && ls "$b") | sort -u); do
	if cmp -s "$a/$f" "$b/$f"; then
		continue
	fi
	status=1
	echo "differs: $f" >&2
	command -v diffoscope >/dev/null || "$top/scripts/deps.sh" diffoscope-minimal
	diffoscope --text - "$a/$f" "$b/$f" | head -n 60 >&2 || true
done
[ "$status" -ne 0 ] || echo "reproducible: $(cd "$a" && ls | tr '\n' ' ')"
exit "$status"
