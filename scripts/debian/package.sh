#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# The Debian package, built and checked the Debian way in brand-new systems.
#   scripts/debian/package.sh build TARBALL OUT CACHE
#     source and binary packages from the release tarball, in Debian 12, then
#     lintian, autopkgtest, and an install and purge there (DEB_CHECKS=no
#     leaves those out); all lands in OUT.
#   scripts/debian/package.sh check OUT CACHE SUITE...
#     the .deb in OUT installed and run in each SUITE.
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
inside=scripts/debian/package-inside.sh

case $1 in
build)
	tarball=$2 out=$3 cache=$4
	name=$(basename "$tarball" .tar.gz)
	rm -rf "$out" && mkdir -p "$out"
	cp "$tarball" "$out/quorvel_${name#quorvel-}.orig.tar.gz"
	# The tree below debian/, which the release tarball leaves out.
	git -C "$top" archive --format=tar --prefix=debian/ -o "$out/debian.tar" HEAD:debian
	"$top/scripts/debian/test.sh" bookworm "$cache" "$inside build ${DEB_CHECKS:-yes}" "$(cd "$out" && pwd)"
	ls "$out"/*.deb "$out"/*.dsc
	;;
check)
	out=$(cd "$2" && pwd) cache=$3
	shift 3
	ls "$out"/quorvel_*.deb >/dev/null
	for suite in "$@"; do
		"$top/scripts/debian/test.sh" "$suite" "$cache" "$inside run $suite" "$out"
		cat "$out/depends-$suite.txt"
	done
	;;
*)
	echo "usage: $0 build TARBALL OUT CACHE | check OUT CACHE SUITE..." >&2
	exit 2
	;;
esac
