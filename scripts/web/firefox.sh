#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Opens the page at URL in Firefox as a kiosk window, as the tests run it: a
# profile of its own under TMPDIR, with no first-run pages and none of the
# browser's own traffic (updates, telemetry, studies, safe browsing, push,
# portal detection), so that the page's files are all it fetches.  Anything
# that still tries to leave the machine is sent to a proxy that is not there.
#   scripts/web/firefox.sh URL
set -eu
url=$1
profile=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-firefox-XXXXXX")
for pref in \
	'"browser.shell.checkDefaultBrowser", false' \
	'"browser.startup.homepage_override.mstone", "ignore"' \
	'"browser.aboutwelcome.enabled", false' \
	'"startup.homepage_welcome_url", ""' \
	'"datareporting.policy.dataSubmissionEnabled", false' \
	'"datareporting.healthreport.uploadEnabled", false' \
	'"toolkit.telemetry.enabled", false' \
	'"toolkit.telemetry.server", "data:,"' \
	'"telemetry.fog.test.localhost_port", -1' \
	'"app.update.auto", false' \
	'"app.normandy.enabled", false' \
	'"app.shield.optoutstudies.enabled", false' \
	'"messaging-system.rsexperimentloader.enabled", false' \
	'"browser.safebrowsing.malware.enabled", false' \
	'"browser.safebrowsing.phishing.enabled", false' \
	'"browser.safebrowsing.downloads.enabled", false' \
	'"browser.safebrowsing.update.enabled", false' \
	'"network.captive-portal-service.enabled", false' \
	'"network.connectivity-service.enabled", false' \
	'"dom.push.enabled", false' \
	'"extensions.update.enabled", false' \
	'"extensions.systemAddon.update.enabled", false' \
	'"extensions.getAddons.cache.enabled", false' \
	'"extensions.blocklist.enabled", false' \
	'"browser.search.update", false' \
	'"browser.region.update.enabled", false' \
	'"browser.newtabpage.enabled", false' \
	'"browser.topsites.contile.enabled", false' \
	'"media.gmp-manager.url", ""' \
	'"media.gmp-provider.enabled", false' \
	'"media.gmp-manager.updateEnabled", false' \
	'"media.eme.enabled", false' \
	'"geo.provider.network.url", ""' \
	'"browser.region.network.url", ""' \
	'"services.settings.server", "data:,#remote-settings-dummy/v1"' \
	'"identity.fxaccounts.enabled", false' \
	'"network.dns.disablePrefetch", true' \
	'"network.prefetch-next", false' \
	'"network.http.speculative-parallel-limit", 0' \
	'"network.trr.mode", 5' \
	'"browser.sessionstore.resume_from_crash", false' \
	'"network.proxy.type", 1' \
	'"network.proxy.http", "127.0.0.1"' \
	'"network.proxy.http_port", 9' \
	'"network.proxy.ssl", "127.0.0.1"' \
	'"network.proxy.ssl_port", 9'; do
	echo "user_pref($pref);"
done >"$profile/user.js"
# Firefox heeds services.settings.server only with this set.
export MOZ_REMOTE_SETTINGS_DEVTOOLS=1
exec firefox-esr --profile "$profile" --no-remote --kiosk "$url"
