#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# The page's two release files in OUT: its folder as quorvel-VERSION-web.zip,
# zipped reproducibly, and the page in one file as quorvel-VERSION.html.
#   scripts/release/web.sh OUT WEB_DIR VERSION
set -eu
here=$(cd "$(dirname "$0")" && pwd)
"$here/reproducible-zip.sh" "$1/quorvel-$3-web.zip" "$2"
cp "$2/quorvel.html" "$1/quorvel-$3.html"
