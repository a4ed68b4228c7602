#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Zips the files of DIR into ZIP so that the same files give the same bytes:
# names in a fixed order, fixed modes, and times from SOURCE_DATE_EPOCH.
#   scripts/release/reproducible-zip.sh ZIP DIR
set -eu
export LC_ALL=C TZ=UTC
zip=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
rm -f "$zip"
cd "$2"
chmod 644 ./*
touch -d "@${SOURCE_DATE_EPOCH:-0}" ./*
zip -q -X "$zip" ./*
