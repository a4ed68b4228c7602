#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Installs into a fresh prefix, checks what landed, uninstalls, and checks
# that no file is left.
#   install_test.sh BUILD_DIR UNINSTALL_SCRIPT
set -eu
build=$1
uninstall=$2
prefix=$(mktemp -d)
manifest="$build/install_manifest.txt"
# Keep the manifest of a real install, so make uninstall still finds it.
[ ! -f "$manifest" ] || cp -p "$manifest" "$prefix.manifest"
restore() {
	rm -rf "$prefix"
	[ ! -f "$prefix.manifest" ] || mv "$prefix.manifest" "$manifest"
}
trap restore EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/quorvel share/applications/quorvel.desktop share/icons/hicolor/scalable/apps/quorvel.svg \
	share/man/man6/quorvel.6; do
	[ -f "$prefix/$f" ] || fail "$f was not installed"
done
[ -x "$prefix/bin/quorvel" ] || fail "bin/quorvel is not executable"
hints=$(desktop-file-validate "$prefix/share/applications/quorvel.desktop") || fail "desktop entry rejected"
[ -z "$hints" ] || fail "desktop entry draws hints: $hints"
warnings=$(groff -man -ww -z "$prefix/share/man/man6/quorvel.6" 2>&1)
[ -z "$warnings" ] || fail "manual page draws warnings: $warnings"
for key in Name=Quorvel Exec=quorvel Icon=quorvel Terminal=false; do
	grep -qx "$key" "$prefix/share/applications/quorvel.desktop" || fail "desktop entry lacks $key"
done
# A PNG's width and height are the big-endian words at bytes 16 and 20.
for n in 48 64 128; do
	png="$prefix/share/icons/hicolor/${n}x$n/apps/quorvel.png"
	[ -f "$png" ] || fail "no $n x $n icon"
	size=$(od -An -tu4 --endian=big -j16 -N8 "$png" | tr -s ' ')
	[ "$size" = " $n $n" ] || fail "the $n x $n icon is$size"
done

"$uninstall" "$manifest" >/dev/null
left=$(find "$prefix" -type f -o -type l)
[ -z "$left" ] || fail "uninstall left: $left"
echo "install and uninstall: ok"
