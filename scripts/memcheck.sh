#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Runs the program under valgrind's memcheck on a private X server
# (xvfb-run's), closes its window once it has shown for a few seconds, and
# fails on any memory error, on memory definitely lost, or on an exit status
# other than 0.  The seconds count from the window, not from the start, which
# valgrind slows, and a busy machine more.
#   scripts/memcheck.sh PROGRAM SUPPRESSIONS [SECONDS]
set -eu
program=$1
suppressions=$2
log=$(mktemp)
trap 'rm -f "$log"' EXIT
export seconds="${3:-5}"

status=0
xvfb-run -a sh -c '"$@" & pid=$!
	python3 "$0" Quorvel "$seconds" >/dev/null || kill "$pid"
	wait "$pid"' "$(dirname "$0")/../debian/tests/close-window" valgrind --quiet --leak-check=full \
	--show-leak-kinds=definite --errors-for-leak-kinds=definite --error-exitcode=99 --num-callers=40 \
	--suppressions="$suppressions" "$program" 2>"$log" || status=$?
if [ "$status" -ne 0 ]; then
	cat "$log" >&2
	echo "memcheck: FAILED (status $status)" >&2
	exit 1
fi
echo "memcheck: no errors, nothing definitely lost over a ${seconds} s run"
