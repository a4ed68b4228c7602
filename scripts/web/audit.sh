#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Lighthouse's audit of the page in DIR, served on 127.0.0.1, with Debian's
# Chromium: its mobile and desktop presets, each printing the four scores and
# the page's weight.  Fails below 100 for accessibility, best practices or
# SEO; performance, a measure of speed that a slow machine lowers, is
# reported against its goal of 95.
# Lighthouse is the version pinned in scripts/web/audit/, installed in WORK.
#   scripts/web/audit.sh DIR WORK
set -eu
here=$(cd "$(dirname "$0")" && pwd)

# Run again by serve.sh, with the page served at QUORVEL_URL.
if [ "$1" = --run ]; then
	work=$2
	flags="--headless=new --disable-gpu --no-first-run --disable-background-networking --disable-component-update"
	[ "$(id -u)" -ne 0 ] || flags="$flags --no-sandbox"
	status=0
	for preset in mobile desktop; do
		report=$work/$preset.json
		# Mobile is Lighthouse's default, and has no preset of its own.
		set -- && [ "$preset" = mobile ] || set -- --preset="$preset"
		CHROME_PATH=/usr/bin/chromium node "$work/node_modules/lighthouse/cli/index.js" "$QUORVEL_URL" \
			"$@" --quiet --chrome-flags="$flags" --output=json --output-path="$report" \
			--only-categories=performance,accessibility,best-practices,seo
		node -e '
			const r = require(process.argv[1]);
			const c = r.categories;
			const score = (id) => Math.round(c[id].score * 100);
			const goal = score("performance") >= 95 ? "met" : "MISSED";
			console.log(`${process.argv[2]}: performance ${score("performance")} (goal 95: ${goal}), ` +
				`accessibility ${score("accessibility")}, best practices ${score("best-practices")}, ` +
				`SEO ${score("seo")}; page weight ${Math.round(r.audits["total-byte-weight"].numericValue / 1024)} KiB`);
			process.exit(["accessibility", "best-practices", "seo"].every((id) => score(id) === 100) ? 0 : 1);' \
			"$report" "$preset" || status=1
	done
	exit "$status"
fi

dir=$1
work=$(mkdir -p "$2" && cd "$2" && pwd)
command -v npm >/dev/null || "$here/../deps.sh" npm
if ! cmp -s "$here/audit/package-lock.json" "$work/package-lock.json"; then
	cp "$here/audit/package.json" "$here/audit/package-lock.json" "$work/"
	(cd "$work" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
fi
exec "$here/serve.sh" "$dir" "$0" --run "$work"
