#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Opens the page at URL in WebKitGTK's MiniBrowser, as the tests run it:
# WebKit is the engine of every browser on iPads and iPhones.  Full screen,
# so that the page's top-left is the window's, as in the other browsers'
# windows; its data, cache and settings in a folder of its own under TMPDIR.
#   scripts/web/webkit.sh URL
set -eu
url=$1
profile=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-webkit-XXXXXX")
export XDG_DATA_HOME="$profile/data" XDG_CACHE_HOME="$profile/cache" XDG_CONFIG_HOME="$profile/config"
for browser in /usr/lib/*/webkit2gtk-4.1/MiniBrowser; do
	exec "$browser" --full-screen "$url"
done
echo "no WebKitGTK MiniBrowser: install libwebkit2gtk-4.1-0" >&2
exit 1
