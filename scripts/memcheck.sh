#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Runs the program under valgrind's memcheck on a private X server
# (xvfb-run's), closes its window once it has shown for a few seconds (not
# from the start, which valgrind slows, and a busy machine more), and fails
# on any memory error, on memory definitely lost, or on a status other than 0.
#   scripts/memcheck.sh PROGRAM SUPPRESSIONS [SECONDS]
set -eu
seconds=${3:-5}
log=$(mktemp)
trap 'rm -f "$log"' EXIT

xvfb-run -a "$(dirname "$0")/close-window" --after "$seconds" valgrind --quiet \
	--leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite --error-exitcode=99 \
	--num-callers=40 --suppressions="$2" "$1" >/dev/null 2>"$log" || {
	status=$?
	cat "$log" >&2
	echo "memcheck: FAILED (status $status)" >&2
	exit 1
}
echo "memcheck: no errors, nothing definitely lost over a ${seconds} s run"
