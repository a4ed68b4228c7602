#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# The page's end-to-end checks: the desktop's checks (E2E_TESTS) against the
# page served on 127.0.0.1 in Chromium, Firefox and WebKit, and opened from
# disk, the page and the one file, each shown on the tests' own Xvfb; then what
# only Chromium's DevTools protocol reaches (check.py, tests/web).  The browsers'
# profiles live in a folder of their own, removed after.
#   scripts/web/test.sh DIR E2E_TESTS
set -eu
here=$(cd "$(dirname "$0")" && pwd)
checks=EndToEnd.WindowShowsFrameTrailAndStrip:EndToEnd.InputTakesSamplesAndNeverEnds:EndToEnd.ClosingEndsWithStatusZero
# Run again by serve.sh, and for the page on disk: the checks against
# BROWSER at URL.  WebKitGTK on Xvfb hands the page only some of the keys
# and pointer moves the tests send (14 to 39 of 50 in three runs, even with
# the moves 40 ms apart), so there input is not counted.
if [ "$1" = --in ]; then
	title=Quorvel
	[ "$2" != firefox ] || title="Quorvel — Mozilla Firefox"
	[ "$2" != webkit ] || checks=$checks-EndToEnd.InputTakesSamplesAndNeverEnds
	QUORVEL_TITLE=$title QUORVEL_COMMAND="$here/$2.sh $3" exec "$4" --gtest_filter=$checks --gtest_brief=1
fi
dir=$(cd "$1" && pwd)
e2e=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
TMPDIR=$(mktemp -d)
trap 'rm -rf "$TMPDIR"' EXIT
export TMPDIR QUORVEL_PICTURE=400x420
for browser in chromium firefox webkit; do
	echo "== the page in $browser, served"
	"$here/serve.sh" "$dir" sh -c "\"$0\" --in $browser \$QUORVEL_URL \"$e2e\""
done
# The one file in Chromium is check.py's.
for run in "chromium index.html" "firefox index.html" "firefox quorvel.html" "webkit quorvel.html"; do
	set -- $run
	echo "== $2 in $1, opened from disk"
	"$0" --in "$1" "file://$dir/$2" "$e2e"
done
echo "== the page in Chromium, through its DevTools protocol"
/usr/bin/python3 "$here/check.py" "$dir"
echo "== the class's runs in Chromium"
QUORVEL_WEB_DIR="$dir" /usr/bin/python3 -m pytest -p no:cacheprovider -q -s "$here/../../tests/web/test_class.py"
echo "== what the page says where it cannot run, and takes back"
QUORVEL_WEB=$dir PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 -m pytest -q -p no:cacheprovider \
	"$here/../../tests/web/test_trouble.py"
