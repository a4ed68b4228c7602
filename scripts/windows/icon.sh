#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Quorvel's Windows icon, ICO, from its SVG icon: every size Windows asks for,
# 16 to 256 pixels, the largest kept as PNG as Windows expects it.
#   scripts/windows/icon.sh SVG ICO
set -eu
svg=$1
ico=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 16 24 32 48 64 128 256; do
	rsvg-convert -w "$size" -h "$size" -o "$work/$size.png" "$svg"
done
icotool -c -o "$ico" "$work"/16.png "$work"/24.png "$work"/32.png "$work"/48.png "$work"/64.png \
	"$work"/128.png -r "$work"/256.png
