#!/bin/sh
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
for f in bin/quorvel share/applications/quorvel.desktop \
	share/icons/hicolor/scalable/apps/quorvel.svg share/icons/hicolor/48x48/apps/quorvel.png; do
	[ -f "$prefix/$f" ] || fail "$f was not installed"
done
[ -x "$prefix/bin/quorvel" ] || fail "bin/quorvel is not executable"
desktop-file-validate "$prefix/share/applications/quorvel.desktop" || fail "desktop entry rejected"
for key in Name=Quorvel Exec=quorvel Icon=quorvel Terminal=false; do
	grep -qx "$key" "$prefix/share/applications/quorvel.desktop" || fail "desktop entry lacks $key"
done
# A PNG's width and height are the big-endian words at bytes 16 and 20.
size=$(od -An -tu1 -j16 -N8 "$prefix/share/icons/hicolor/48x48/apps/quorvel.png" | tr -s ' ')
[ "$size" = " 0 0 0 48 0 0 0 48" ] || fail "the PNG icon is not 48 x 48:$size"

"$uninstall" "$manifest" >/dev/null
left=$(find "$prefix" -type f -o -type l)
[ -z "$left" ] || fail "uninstall left: $left"
echo "install and uninstall: ok"
