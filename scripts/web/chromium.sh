#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Opens the page at URL in Chromium as an app window, as the tests and make
# bench run it: a profile of its own under TMPDIR, and none of the browser's
# own traffic, so the page's three files are all it fetches.
#   scripts/web/chromium.sh URL
set -eu
url=$1
shift
profile=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-chromium-XXXXXX")
# Root may run Chromium only without its sandbox; --test-type keeps the
# warning about that off the page.
[ "$(id -u)" -ne 0 ] || set -- --no-sandbox --test-type "$@"
exec chromium --user-data-dir="$profile" --no-first-run --no-default-browser-check \
	--disable-background-networking --disable-component-update --disable-sync --disable-features=Translate \
	--password-store=basic --window-position=0,0 --window-size=420,720 "$@" --app="$url"
