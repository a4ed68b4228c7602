#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Removes the files that the last install wrote, as CMake listed them in its
# manifest; folders stay, since others may share them.  The manifest holds
# the paths without DESTDIR, so give the same DESTDIR as to the install.
#   [DESTDIR=...] scripts/uninstall.sh build/install_manifest.txt
set -eu
manifest=$1
if [ ! -f "$manifest" ]; then
	echo "nothing to uninstall: $manifest not found (run make install first)" >&2
	exit 1
fi
while IFS= read -r file || [ -n "$file" ]; do
	[ -n "$file" ] || continue
	file="${DESTDIR:-}$file"
	if [ -e "$file" ] || [ -L "$file" ]; then
		rm -f -- "$file"
		echo "removed $file"
	fi
done <"$manifest"
rm -f -- "$manifest"
