#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# The Windows installer, MSI, with the files of the Windows zip, ZIP, and
# quorvel.exe's icon, ICON, built from src/windows/quorvel.wxs with wixl.
# The same files give the same bytes: wixl reads the clock and picks a random
# package code, so it runs at SOURCE_DATE_EPOCH, the files carry that time
# too, and the codes are UUIDs made from the version (the product code) and
# from the version and the files (the package code), in Quorvel's upgrade
# code as namespace.
#   scripts/windows/msi.sh ZIP ICON VERSION MSI
set -eu
zip=$1
icon=$2
version=$3
msi=$(cd "$(dirname "$4")" && pwd)/$(basename "$4")
top=$(cd "$(dirname "$0")/../.." && pwd)
wxs=$top/src/windows/quorvel.wxs
export TZ=UTC
at="@${SOURCE_DATE_EPOCH:-0}"
# A clock that stands still at that time: a running one could pass into the
# next second before wixl reads it.
clock=$(date -d "$at" '+%Y-%m-%d %H:%M:%S')
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

unzip -q "$zip" -d "$stage/files"
cp "$icon" "$stage/quorvel.ico"
touch -d "$at" "$stage"/files/* "$stage/quorvel.ico"
gfx=$(cd "$stage/files" && ls libSDL_gfx-*.dll)
upgrade=$(sed -n 's/.*UpgradeCode="\([^"]*\)".*/\1/p' "$wxs")
sum=$(cd "$stage/files" && sha256sum -- * | sha256sum | cut -c1-64)
uuid() {
	python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID(sys.argv[1]), sys.argv[2])).upper())' "$upgrade" "$1"
}
product=$(uuid "product $version")
package=$(uuid "package $version $sum")

# wixl takes the files' paths relative to where it runs, and only so.
rm -f "$msi"
(cd "$stage" && faketime -f "$clock" wixl -a x64 -o "$msi" -D Version="$version" -D ProductCode="$product" \
	-D Files=files -D Icon=quorvel.ico -D GfxDll="$gfx" "$wxs")
faketime -f "$clock" msibuild "$msi" -s "Quorvel $version" "The Quorvel developers" "x64;1033" "{$package}"
echo "wrote $msi: product code {$product}, package code {$package}"
