#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# The files of a release in OUT, with their sums: the tarball, the Debian
# source and binary packages from DEB_DIR, the Windows zip and MSI, the
# page's folder WEB_DIR as quorvel-VERSION-web.zip, zipped reproducibly, and
# the page in one file as quorvel-VERSION.html.  Each is made by its own
# make target first.
#   scripts/release/collect.sh OUT VERSION TARBALL DEB_DIR WIN_ZIP WIN_MSI WEB_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$1 version=$2 tarball=$3 deb=$4 zip=$5 msi=$6 web=$7
rm -rf "$out" && mkdir -p "$out"
cp "$tarball" "$deb"/*.dsc "$deb"/*.orig.tar.* "$deb"/*.debian.tar.* "$deb"/quorvel_*.deb "$zip" "$msi" \
	"$out/"
"$here/reproducible-zip.sh" "$out/quorvel-$version-web.zip" "$web"
cp "$web/quorvel.html" "$out/quorvel-$version.html"
cd "$out"
sha256sum -- * >SHA256SUMS
sha256sum -c SHA256SUMS
