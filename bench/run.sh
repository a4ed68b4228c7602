#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# make bench's two tables, each run with the page in WEB served on
# 127.0.0.1: the program's (BUILD/bench/bench, which opens the page in a
# Chromium window among its runs), then the page's own at each speed
# (bench/page.py).  The browsers' profiles live in a folder of their
# own, removed after.
#   bench/run.sh BUILD WEB
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
TMPDIR=$(mktemp -d)
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
"$top/scripts/web/serve.sh" "$2" sh -c \
	"QUORVEL_PAGE_COMMAND=\"$top/scripts/web/browsers.py chromium \$QUORVEL_URL\" exec \"$1/bench/bench\""
"$top/scripts/web/serve.sh" "$2" /usr/bin/python3 "$top/bench/page.py"
