#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Installs the Debian packages named in the arguments that are not installed
# yet.  An argument "a|b" is met by either package and installs a when neither
# is there.  Without root or sudo it prints the one line to run and stops.
set -eu

installed() {
	[ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" = installed ]
}

missing=""
for want in "$@"; do
	met=no
	for pkg in $(echo "$want" | tr '|' ' '); do
		if installed "$pkg"; then met=yes; break; fi
	done
	[ "$met" = yes ] || missing="$missing ${want%%|*}"
done
[ -n "$missing" ] || exit 0

if [ "$(id -u)" -eq 0 ]; then
	sudo=""
elif command -v sudo >/dev/null 2>&1 && { sudo -n true 2>/dev/null || [ -t 0 ]; }; then
	# sudo may ask for a password where someone is there to type it.
	sudo="sudo"
else
	echo "quorvel needs these Debian packages; install them with:" >&2
	echo "  sudo apt-get install -y$missing" >&2
	exit 1
fi
echo "installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
