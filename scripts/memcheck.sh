#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Runs the program under valgrind's memcheck in a private Xvfb for a few
# seconds, ends it with SIGTERM (an orderly quit, as closing the window), and
# fails on any memory error or on memory definitely lost.
#   scripts/memcheck.sh PROGRAM SUPPRESSIONS [SECONDS]
set -eu
program=$1
suppressions=$2
seconds=${3:-5}

tmp=$(mktemp -d)
xvfb_pid=""
cleanup() {
	[ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
	rm -rf "$tmp"
}
trap cleanup EXIT INT TERM

# -displayfd makes Xvfb pick a free display number and tell us which.
mkfifo "$tmp/display"
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
read -r number <"$tmp/display"

status=0
DISPLAY=":$number" valgrind --quiet --leak-check=full --show-leak-kinds=definite \
	--errors-for-leak-kinds=definite --error-exitcode=99 --num-callers=40 \
	--suppressions="$suppressions" "$program" 2>"$tmp/valgrind.log" &
program_pid=$!
sleep "$seconds"
kill -TERM "$program_pid"
wait "$program_pid" || status=$?
if [ "$status" -ne 0 ]; then
	cat "$tmp/valgrind.log" >&2
	echo "memcheck: FAILED (status $status)" >&2
	exit 1
fi
echo "memcheck: no errors, nothing definitely lost over a ${seconds} s run"
