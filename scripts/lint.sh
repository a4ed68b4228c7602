#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# clang-tidy as .clang-tidy sets it, over the build in BUILD_DIR (configured
# with its compile commands); cppcheck (a raw loop where an algorithm would do
# is taste, not a fault; the web layer needs Emscripten's headers); the layout
# .clang-format asks for, of SOURCES; and a licence for every file.
#   scripts/lint.sh BUILD_DIR SOURCES...
set -eu
build=$1
shift
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
run-clang-tidy -p "$build" -quiet "$top/(src|tests|bench|scripts)/" >"$build/clang-tidy.log" 2>&1 ||
	{ grep -E 'warning:|error:' "$build/clang-tidy.log"; exit 1; }
cppcheck --enable=warning,style,performance,portability --std=c++20 --inline-suppr --error-exitcode=1 \
	--quiet -I src -I tests/unit -I tests/desktop --suppress=missingIncludeSystem --suppress=useStlAlgorithm -i src/web src tests bench scripts/docs
clang-format --dry-run -Werror "$@"
reuse lint --quiet || reuse lint
echo "lint: no findings"
