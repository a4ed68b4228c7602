#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# The page's end-to-end checks: the desktop's checks (E2E_TESTS) against the
# page in Chromium and in Firefox, each served on 127.0.0.1 and shown on the
# tests' own Xvfb, then what only Chromium's DevTools protocol reaches
# (check.py).  The browsers' profiles live in a folder of their own, removed
# after.
#   scripts/web/test.sh DIR E2E_TESTS
set -eu
here=$(cd "$(dirname "$0")" && pwd)
dir=$1
e2e=$2
TMPDIR=$(mktemp -d)
trap 'rm -rf "$TMPDIR"' EXIT
export TMPDIR QUORVEL_PICTURE=400x420
checks=EndToEnd.WindowShowsFrameTrailAndStrip:EndToEnd.InputTakesSamplesAndNeverEnds:EndToEnd.ClosingEndsWithStatusZero
for browser in chromium firefox; do
	echo "== the page in $browser"
	title=Quorvel
	[ "$browser" = chromium ] || title="Quorvel — Mozilla Firefox"
	QUORVEL_TITLE=$title "$here/serve.sh" "$dir" sh -c \
		"QUORVEL_COMMAND=\"$here/$browser.sh \$QUORVEL_URL\" \"$e2e\" --gtest_filter=$checks --gtest_brief=1"
done
echo "== the page in Chromium, through its DevTools protocol"
/usr/bin/python3 "$here/check.py" "$dir"
