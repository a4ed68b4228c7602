#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Runs a command (the README's `make test` by default) on the committed tree
# inside a brand-new Debian SUITE: a minimal system with make, as a new user's
# machine would be, so that a missing install step shows.  The base system is
# made once per suite and kept in CACHE; every run works on a fresh copy of it.
# SHARED, a folder of the host's, is /root/out inside, for what goes in and out.
# SUITE may name several, separated by spaces, for one run after another.
#   scripts/debian/test.sh SUITE CACHE [COMMAND [SHARED]]
set -eu
if [ "${1#* }" != "$1" ]; then
	for suite in $1; do
		"$0" "$suite" "$2" "${3:-make test}" ${4:+"$4"} || exit
	done
	exit 0
fi
suite=$1
cache=$2
command=${3:-make test}
shared=${4:-}
top=$(cd "$(dirname "$0")/../.." && pwd)
cache=$(mkdir -p "$cache" && cd "$cache" && pwd)
base=$cache/$suite

if [ ! -f "$base/.ready" ]; then
	command -v debootstrap >/dev/null || "$top/scripts/deps.sh" debootstrap
	rm -rf "$base"
	echo "making a minimal Debian $suite in $base..."
	debootstrap --variant=minbase --include=make,ca-certificates "$suite" "$base" \
		>"$cache/debootstrap-$suite.log" 2>&1 ||
		{ tail -n 5 "$cache/debootstrap-$suite.log" >&2; exit 2; }
	# The mirror may be a snapshot whose Release file is past its Valid-Until.
	echo 'Acquire::Check-Valid-Until "false";' >"$base/etc/apt/apt.conf.d/99snapshot"
	touch "$base/.ready"
fi

root=$cache/run-$suite
cleanup() {
	# Anything a test left running inside would keep the mounts busy.
	for p in /proc/[0-9]*; do
		[ "$(readlink "$p/root" 2>/dev/null)" != "$root" ] || kill -9 "${p#/proc/}" 2>/dev/null || true
	done
	for m in root/out var/cache/apt/archives dev/shm dev/pts dev sys proc; do umount -l "$root/$m" 2>/dev/null || true; done
	# Never into the host's /dev, should a mount have outlived an unmount.
	rm -rf --one-file-system "$root"
}
trap cleanup EXIT INT TERM
cleanup
cp -a "$base" "$root"
mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --bind /dev "$root/dev"
mount -t devpts devpts "$root/dev/pts" 2>/dev/null || true
mount -t tmpfs tmpfs "$root/dev/shm"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
# The packages apt fetches are kept for the next run of the same suite.
mkdir -p "$cache/apt-$suite/partial"
mount --bind "$cache/apt-$suite" "$root/var/cache/apt/archives"
mkdir -p "$root/root/quorvel"
git -C "$top" archive HEAD | tar -x -C "$root/root/quorvel"
if [ -n "$shared" ]; then
	mkdir -p "$root/root/out"
	mount --bind "$shared" "$root/root/out"
fi

log=$cache/$suite.log
echo "Debian $suite: $command (log: $log)"
start=$(date +%s)
status=0
chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive \
	PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
	sh -c "cd /root/quorvel && $command" </dev/null >"$log" 2>&1 || status=$?
[ "$status" -eq 0 ] || tail -n 40 "$log" >&2
tail -n 3 "$log"
echo "Debian $suite: status $status after $(($(date +%s) - start)) s"
exit "$status"
