#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Packs the Windows build into ZIP: quorvel.exe, SDL's two DLLs and their
# licences.  Checks first that it is a console program, that it needs no DLL
# beyond those in the zip and Windows' own, and that it carries its icon, in
# every size from 16 to 256 pixels, and VERSION with its name and copyright.
# The same build gives the same zip: no debugging sections (they hold the
# build's paths), and a zip made by scripts/release/reproducible-zip.sh.
#   scripts/windows/zip.sh EXE PREFIX DEPS_WORK VERSION ZIP
set -eu
exe=$1
prefix=$2
work=$3
version=$4
zip=$(cd "$(dirname "$5")" && pwd)/$(basename "$5")
top=$(cd "$(dirname "$0")/../.." && pwd)
objdump=x86_64-w64-mingw32-objdump
windows_dlls="advapi32.dll gdi32.dll kernel32.dll msvcrt.dll user32.dll winmm.dll shell32.dll ole32.dll imm32.dll"

stage=$(dirname "$zip")/zip-stage
rm -rf "$stage" "$zip"
mkdir -p "$stage"
for f in "$exe" "$prefix/bin/SDL.dll" "$prefix"/bin/libSDL_gfx-*.dll; do
	x86_64-w64-mingw32-strip --strip-debug -o "$stage/$(basename "$f")" "$f"
done

$objdump -p "$stage/quorvel.exe" | grep -q 'Subsystem.*(Windows CUI)' ||
	{ echo "quorvel.exe is not a console program" >&2; exit 1; }
for f in "$stage"/*.exe "$stage"/*.dll; do
	for dll in $($objdump -p "$f" | sed -n 's/^.*DLL Name: //p' | tr 'A-Z' 'a-z'); do
		case " $windows_dlls $(cd "$stage" && ls | tr 'A-Z' 'a-z' | tr '\n' ' ') " in
		*" $dll "*) ;;
		*) echo "$(basename "$f") needs $dll, which is neither in the zip nor Windows' own" >&2; exit 1 ;;
		esac
	done
done

wrestool -x --type=group_icon "$stage/quorvel.exe" >"$stage.ico"
sizes=$(icotool -l "$stage.ico" | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | tr '\n' ' ')
rm -f "$stage.ico"
[ "$sizes" = "16 24 32 48 64 128 256 " ] || { echo "quorvel.exe's icon comes in sizes $sizes" >&2; exit 1; }
about=$(wrestool -x --raw --type=version "$stage/quorvel.exe" | strings -el | paste -s -d '|')
for field in "ProductName|Quorvel" "FileVersion|$version" "ProductVersion|$version" \
	"LegalCopyright|Copyright (c) 2026 The Quorvel developers"; do
	case "|$about|" in *"|$field|"*) ;; *) echo "quorvel.exe's version information lacks $field" >&2; exit 1 ;; esac
done

sdl=$(find "$work/sdl" -maxdepth 1 -type d -name 'libsdl1.2-*' | head -n 1)
gfx=$(find "$work/gfx" -maxdepth 1 -mindepth 1 -type d | head -n 1)
{
	echo "Quorvel for 64-bit Windows, with SDL 1.2 and SDL_gfx beside it."
	echo
	echo "== Quorvel (quorvel.exe), MIT licence =="
	echo
	cat "$top/LICENSES/MIT.txt"
	echo
	echo "== SDL 1.2.15 (SDL.dll), GNU Lesser General Public License 2.1 =="
	echo "Built from Debian's libsdl1.2 source package ($(basename "$sdl")), with Debian's"
	echo "patch dont_propagate_lpthread.diff reversed, configured with --disable-stdio-redirect."
	echo
	cat "$sdl/COPYING"
	echo
	echo "== SDL_gfx 2.0.27 ($(cd "$stage" && ls libSDL_gfx-*.dll)), zlib licence =="
	echo
	cat "$gfx/LICENSE"
} | sed 's/$/\r/' >"$stage/LICENSES.txt"
"$top/scripts/release/reproducible-zip.sh" "$zip" "$stage"
echo "wrote $zip: $(cd "$stage" && ls | tr '\n' ' ')"
