#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Runs the program under valgrind's memcheck on a private X server
# (xvfb-run's) for a few seconds, ends it with SIGTERM (an orderly quit, as
# closing the window), and fails on any memory error or on memory definitely
# lost.
#   scripts/memcheck.sh PROGRAM SUPPRESSIONS [SECONDS]
set -eu
program=$1
suppressions=$2
seconds=${3:-5}
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# timeout's SIGTERM reaches the program under valgrind, and the status it
# keeps is the program's, or valgrind's 99 for an error.
status=0
xvfb-run -a timeout --preserve-status "$seconds" valgrind --quiet --leak-check=full --show-leak-kinds=definite \
	--errors-for-leak-kinds=definite --error-exitcode=99 --num-callers=40 \
	--suppressions="$suppressions" "$program" 2>"$log" || status=$?
if [ "$status" -ne 0 ]; then
	cat "$log" >&2
	echo "memcheck: FAILED (status $status)" >&2
	exit 1
fi
echo "memcheck: no errors, nothing definitely lost over a ${seconds} s run"
