#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Installs for one user, under a fresh HOME, checks what landed, opens the
# window from the menu entry, uninstalls, and checks that no file is left;
# and stages a system install, as Debian's packaging does.
#   install_test.sh BUILD_DIR UNINSTALL_SCRIPT
set -eu
build=$1
uninstall=$2
tmp=$(mktemp -d)
home="$tmp/fresh home"
prefix="$home/.local"
manifest="$build/install_manifest.txt"
# Keep the manifest of a real install, so make uninstall still finds it.
[ ! -f "$manifest" ] || cp -p "$manifest" "$tmp/manifest"
restore() {
	[ ! -f "$tmp/manifest" ] || mv "$tmp/manifest" "$manifest"
	rm -rf "$tmp"
}
trap restore EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

app=share/applications/io.github.quorvel.Quorvel.desktop
# Staged for /usr, the entry runs the program by name, from PATH.
DESTDIR="$tmp/stage" cmake --install "$build" --prefix /usr >/dev/null
grep -qx Exec=quorvel "$tmp/stage/usr/$app" || fail "a system install's entry lacks Exec=quorvel"

cmake --install "$build" --prefix "$prefix" >/dev/null
metainfo=share/metainfo/io.github.quorvel.Quorvel.metainfo.xml
for f in games/quorvel $app $metainfo share/icons/hicolor/scalable/apps/quorvel.svg share/man/man6/quorvel.6; do
	[ -f "$prefix/$f" ] || fail "$f was not installed"
done
[ -x "$prefix/games/quorvel" ] || fail "games/quorvel is not executable"
hints=$(desktop-file-validate "$prefix/$app") || fail "desktop entry rejected"
[ -z "$hints" ] || fail "desktop entry draws hints: $hints"
warnings=$(groff -man -ww -z "$prefix/share/man/man6/quorvel.6" 2>&1)
[ -z "$warnings" ] || fail "manual page draws warnings: $warnings"
for key in Name=Quorvel "Exec=\"$prefix/games/quorvel\"" Icon=quorvel Terminal=false; do
	grep -qx "$key" "$prefix/$app" || fail "desktop entry lacks $key"
done
# ~/.local/games is on nobody's PATH: the menu entry must run the program
# all the same, as GLib's menus do.
HOME="$home" PATH=/usr/bin:/bin xvfb-run -a "$(dirname "$0")/../../scripts/close-window" gio launch "$prefix/$app" \
	>/dev/null || fail "the menu entry opened no window"
# Every language of po/LINGUAS, in the entry and in the software centre's data.
for lang in $(grep -v '^#' "$(dirname "$0")/../../po/LINGUAS"); do
	grep -q "^Comment\[$lang\]=" "$prefix/$app" || fail "desktop entry has no comment in $lang"
	# Newer gettext writes pt_BR as pt-BR there.
	grep -q -e "<summary xml:lang=\"$lang\">" -e "<summary xml:lang=\"$(echo "$lang" | tr _ -)\">" \
		"$prefix/$metainfo" || fail "metainfo has no summary in $lang"
done
# AppStream's checks, and a software centre's catalogue made from the tree: no
# error or warning from either.  Notes stay visible: AppStream 1.0 (Debian 13)
# calls developer_name deprecated, but 0.16 (Debian 12) knows no other.
report=$(appstreamcli validate --no-net "$prefix/$metainfo") || fail "metainfo rejected: $report"
case "$report" in *"E: "* | *"W: "*) fail "metainfo draws remarks: $report" ;; esac
case "$report" in *"I: "*) echo "$report" | grep '^I: ' ;; esac
report=$(appstreamcli compose --no-net --print-report=full --origin=quorvel --result-root="$tmp/catalogue" \
	--prefix=/ "$prefix" 2>&1) || fail "compose failed: $report"
case "$report" in *"E: "* | *"W: "*) fail "compose reports: $report" ;; esac
zcat "$tmp/catalogue"/share/swcatalog/xml/quorvel.xml.gz | grep -q '<release type="stable" version=' ||
	fail "the catalogue has no release entry"
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
