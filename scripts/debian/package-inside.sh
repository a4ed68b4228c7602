#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# The steps of scripts/debian/package.sh that run inside the chroot, with the
# package's files in /root/out: the release tarball, and debian.tar, the
# committed debian/ that goes into it.
#   build [yes|no]: dpkg-buildpackage, then unless told no, lintian, an
#     install and purge, and autopkgtest
#   run SUITE: install the .deb, say what its dependencies came to, open its window
set -eu
out=/root/out
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq

# The SDL packages the .deb's dependencies came to.
sdl_stack() {
	dpkg-query -W -f='${Package} ${Version} ${db:Status-Status}\n' | awk '/sdl/ && $3 == "installed" { print "  " $1, $2 }'
}

build() {
	checks=${1:-yes}
	cd "$out"
	tar -xzf quorvel_*.orig.tar.gz
	src=$(find . -maxdepth 1 -type d -name 'quorvel-*' | head -n 1)
	tar -xf debian.tar -C "$src"
	apt-get install -y -qq --no-install-recommends build-essential >/dev/null
	apt-get build-dep -y -qq "$src" >/dev/null
	(cd "$src" && dpkg-buildpackage -us -uc -j2)
	[ "$checks" = yes ] || { rm -rf "$src"; return; }
	apt-get install -y -qq --no-install-recommends lintian autopkgtest >/dev/null

	echo "== lintian"
	lintian --fail-on error,warning --info quorvel_*.changes
	lintian --pedantic --info quorvel_*.changes >lintian-pedantic.txt || true
	echo "== install, then purge"
	apt-get install -y -qq ./quorvel_*.deb >/dev/null
	echo "Depends: $(dpkg-query -W -f='${Depends}' quorvel), here:"
	sdl_stack
	dpkg-query -L quorvel >files.txt
	apt-get purge -y -qq quorvel >/dev/null
	left=""
	grep -v -x '/\.' files.txt >paths.txt
	while read -r path; do
		# A folder another package owns stays; anything else is left behind.
		if [ -e "$path" ] && { [ ! -d "$path" ] || ! dpkg-query -S "$path" >/dev/null 2>&1; }; then
			left="$left $path"
		fi
	done <paths.txt
	[ -z "$left" ] || { echo "purge left:$left" >&2; exit 1; }
	echo "purge left none of the $(wc -l <paths.txt) paths"
	echo "== autopkgtest"
	autopkgtest --output-dir=autopkgtest ./quorvel_*.deb "$src" -- null
	rm -rf "$src"
}

run() {
	suite=$1
	. /etc/os-release
	apt-get install -y -qq --no-install-recommends "$out"/quorvel_*.deb xvfb xauth python3-xlib >/dev/null
	{
		echo "$PRETTY_NAME: Depends: $(dpkg-query -W -f='${Depends}' quorvel), here:"
		sdl_stack
	} | tee "$out/depends-$suite.txt"
	xvfb-run -a scripts/close-window /usr/games/quorvel
}

"$@"
