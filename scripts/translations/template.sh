#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Writes OUT, the catalogues' template: every sentence a person reads around
# the picture, from the menu entry, the AppStream data, and the page's
# scripts and HTML.  The program's own window has no words to translate.
#   scripts/translations/template.sh OUT
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
out=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$top"
common="--from-code=UTF-8 --sort-by-file --no-wrap --package-name=quorvel
	--msgid-bugs-address=https://github.com/quorvel/quorvel/issues"
# shellcheck disable=SC2086
xgettext $common --add-comments=TRANSLATORS: -L Desktop -o "$tmp/entry.pot" data/io.github.quorvel.Quorvel.desktop.in
# shellcheck disable=SC2086
xgettext $common --add-comments=TRANSLATORS: --its=/usr/share/gettext/its/metainfo.its -o "$tmp/metainfo.pot" \
	data/io.github.quorvel.Quorvel.metainfo.xml.in
# The page's scripts, but the service worker, which says nothing.
set --
for f in page/*.js; do
	[ "$f" = page/sw.js ] || set -- "$@" "$f"
done
# shellcheck disable=SC2086
xgettext $common -L JavaScript --keyword=say --add-comments=TRANSLATORS: -o "$tmp/scripts.pot" "$@"
"$top/scripts/translations/page-words.py" page/index.html >"$tmp/page.pot"
msgcat --no-wrap --use-first -o "$tmp/all.pot" "$tmp/entry.pot" "$tmp/metainfo.pot" "$tmp/page.pot" "$tmp/scripts.pot"
# Its own header, and no date, which would make every run a change.
{
	# REUSE-IgnoreStart
	echo "# SPDX-FileCopyrightText: 2026 The Quorvel developers"
	echo "# SPDX-License-Identifier: MIT"
	# REUSE-IgnoreEnd
	echo "# Quorvel's catalogue template, made by scripts/translations/template.sh."
	sed -e '1,/^#$/d' -e '/^"POT-Creation-Date: /d' "$tmp/all.pot"
} >"$out"
