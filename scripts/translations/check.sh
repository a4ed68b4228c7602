#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Fails unless po/quorvel.pot holds every sentence the sources have now, and
# every catalogue LINGUAS names translates all of them: none missing, none
# fuzzy, each checked by msgfmt (formats, the header), and clean, as
# clean.py has it (the page's {names}, numbers, quotation marks).
#   scripts/translations/check.sh
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$top/scripts/translations/template.sh" "$tmp/quorvel.pot"
msgcmp --use-untranslated "$top/po/quorvel.pot" "$tmp/quorvel.pot" ||
	{ echo "po/quorvel.pot is out of date: make pot" >&2; exit 1; }
status=0
for lang in $(grep -v '^#' "$top/po/LINGUAS"); do
	msgmerge --quiet --no-fuzzy-matching -o "$tmp/$lang.po" "$top/po/$lang.po" "$tmp/quorvel.pot"
	report=$(msgfmt --check --statistics -o /dev/null "$tmp/$lang.po" 2>&1) || status=1
	echo "$lang: $report"
	case "$report" in *untranslated* | *fuzzy*) status=1 ;; esac
	"$top/scripts/translations/clean.py" "$lang" "$tmp/$lang.po" || status=1
done
exit "$status"
