#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Serves DIR on 127.0.0.1 only, at a free port, while COMMAND runs with
# QUORVEL_URL set to the page's address; then stops serving, and fails if
# anything was asked for but the page's own files (and robots.txt, which an
# audit asks for as crawlers do, and the page never).
#   scripts/web/serve.sh DIR COMMAND...
set -eu
dir=$1
shift
log=$(mktemp)
python3 -u -m http.server --bind 127.0.0.1 --directory "$dir" 0 >"$log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true; rm -f "$log"' EXIT INT TERM
port=""
for _ in $(seq 50); do
	port=$(sed -n 's/^Serving HTTP on [0-9.]* port \([0-9]*\).*/\1/p' "$log")
	[ -z "$port" ] || break
	sleep 0.1
done
[ -n "$port" ] || { cat "$log" >&2; echo "the page could not be served" >&2; exit 1; }
QUORVEL_URL=http://127.0.0.1:$port/ "$@"
own=$( (echo / && echo /robots.txt && cd "$dir" && ls | sed 's|^|/|'))
others=$(sed -n 's/.*"GET \([^ ]*\) .*/\1/p' "$log" | sort -u | grep -v -x -F "$own" || true)
[ -z "$others" ] || { echo "the page asked for more than its own files:" $others >&2; exit 1; }
